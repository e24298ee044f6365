#pragma once
// Everything the main window reaches outside itself. The program owns these objects and hands
// them in; tests hand in fakes (a recording adapter library, an in-memory registry, a virtual
// clock, a recording tray).

#include <memory>
#include <string_view>

#include "adapter/adapter_library.h"
#include "adapter/current_adapter.h"
#include "app/product_config.h"
#include "config/radio_state.h"
#include "config/setting_store.h"
#include "config/supplicant_control.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"
#include "platform/process/process.h"
#include "ui/common/dialog_chain.h"
#include "ui/main/delayed_service_choice.h"

namespace security {
class SupplicantLibrary;
}

namespace ui {

// The notification-area icon as the main window drives it.
class MainWindowTray {
 public:
  virtual ~MainWindowTray() = default;
  // Shows the icon again (after an adapter was opened or the shell restarted).
  virtual void AddIcon(int iconResource) = 0;
  // Changes the picture of the shown icon.
  virtual void SetIcon(int iconResource) = 0;
  virtual void RemoveIcon() = 0;
  // Text of menu entry 1, 2 or 3 (open, hand-over, exit), used at the next showing.
  virtual void SetMenuText(int item, std::u16string_view text) = 0;
};

struct MainWindowServices {
  config::SettingStore& store;       // setting trees, application values, `OperationMode`
  adapter::AdapterLibrary& driver;
  adapter::CurrentAdapter& adapter;  // the adapter handle record, instance, class key, chip
  config::RadioState& radio;
  platform::Clock& clock;
  const app::ProductConfig& product;
  MainWindowTray& tray;
  config::SupplicantControl& supplicant;
  const lang::CMultiLanguage& language;
  DialogChain& dialogs;              // `ActiveDialogNumber` and the open dialogs
  // `StartHidden`: set by start-up; keeps the window hidden until it is opened from the tray.
  bool& startHidden;
  // The Bluetooth utility the window started, null when none.
  std::unique_ptr<platform::ChildProcess>& bluetoothUtility;
  // The loaded supplicant library, for the certificates the WPA dialog lists; null lists none.
  security::SupplicantLibrary* supplicantLibrary = nullptr;
};

}  // namespace ui
