#pragma once
// What the station settings dialogs (More Settings, Advanced, Information) reach outside their
// controls. The main window fills one and hands it to More Settings, which passes it on to the
// dialogs it opens; the references must outlive them.

#include <functional>

#include "adapter/adapter_library.h"
#include "adapter/current_adapter.h"
#include "config/appliers.h"
#include "config/radio_state.h"
#include "config/setting_store.h"
#include "config/supplicant_control.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"
#include "ui/common/dialog_chain.h"

namespace ui::settings {

// The product-file switches the dialogs follow.
struct StationSettingsProduct {
  int wpaMode = 0;            // "WPAMode": WPA authentication and the WPA button
  int wpa2Mode = 0;           // "WPA2Mode": WPA2 authentication
  int pseudoIbssSupport = 1;  // "PseudoIBSSSupport": the pseudo ad hoc network type
};

struct StationSettingsServices {
  config::SettingStore& store;        // the station tree
  adapter::AdapterLibrary& driver;
  adapter::CurrentAdapter& adapter;   // handle record and `ChipType`
  config::RadioState& radio;          // `BandCapability`, `CurrentNetworkType`
  const platform::Clock& clock;       // seeds the random SSID of a fresh association
  config::SupplicantControl& supplicant;
  const lang::CMultiLanguage& language;
  DialogChain& dialogs;               // `ActiveDialogNumber` and the open dialogs
  StationSettingsProduct product;
  // The WEP key and WPA dialogs, opened modally with the given opener number; they belong to
  // the security layer and are wired in by the program. Empty: the button does nothing.
  std::function<void(int opener)> openWepKeys;
  std::function<void(int opener)> openWpa;
};

// The appliers' view of the same services.
inline config::ApplierContext Appliers(const StationSettingsServices& services) {
  return {services.driver, services.adapter.handle, services.store, services.radio};
}

}  // namespace ui::settings
