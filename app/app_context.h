#pragma once
// Everything the parts of the program share for a whole run, in one object the program owns:
// the platform services it runs on and the values start-up prepares. The main window and the
// dialogs it opens are handed the context and reach everything through it; nothing of this
// lives in globals.
//
// The program builds the services from the real implementations (app/main.cpp); a test builds
// them from fakes (a MemoryRegistry, a VirtualClock, the headless backend's tray, a recording
// adapter library, MemoryWindowTitles, a CMultiLanguage of its own) and passes a program path
// in a folder of its own choosing, where it may put a product file and a language file.

#include <filesystem>
#include <memory>
#include <string>

#include "adapter/adapter_library.h"
#include "adapter/current_adapter.h"
#include "app/product_config.h"
#include "app/tray_icon.h"
#include "config/radio_state.h"
#include "config/setting_store.h"
#include "config/supplicant_control.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"
#include "platform/process/process.h"
#include "platform/registry/registry.h"
#include "platform/window/backend.h"
#include "ui/common/dialog_chain.h"

namespace app {

// The services the program runs on. Each must outlive the context.
struct AppServices {
  platform::Clock& clock;                   // every wait and time read
  platform::Registry& registry;             // behind the setting store
  adapter::AdapterLibrary& adapterLibrary;  // the adapter driver library
  platform::WindowTitles& windowTitles;     // top-level windows of every process, by title
  platform::window::Tray& tray;             // the desktop's notification area
  lang::CMultiLanguage& language;           // the language table start-up fills
  std::filesystem::path programPath;        // full path of the program file
};

struct AppContext {
  explicit AppContext(const AppServices& given);
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  AppServices services;
  config::SettingStore store;  // application key and chip mode set by start-up

  // Prepared by start-up, read-only afterwards.
  std::filesystem::path programFolder;
  ProductConfig product;
  std::u16string windowTitle;  // the main window's caption, by which other instances find it

  // The adapter the main window has open; handle -1 while there is none.
  adapter::CurrentAdapter adapter;
  config::RadioState radio;
  // Only counts the requests until the supplicant is wired in.
  config::RecordingSupplicantControl supplicant;
  ui::DialogChain dialogs;
  std::unique_ptr<platform::ChildProcess> bluetoothUtility;
  // The main window keeps itself hidden until the user opens it.
  bool startHidden = true;
  // Created by start-up, destroyed after the main window has closed.
  std::unique_ptr<CConfigTrayIcon> trayIcon;
  // The application's main window while it exists; tray commands go to it.
  platform::window::Dialog* mainWindow = nullptr;
};

}  // namespace app
