#include "app/config_app.h"

#include "app/instance_titles.h"
#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace app {

CConfigApp::CConfigApp(AppContext& context, MainWindowFactory makeMainWindow)
    : context_(context), makeMainWindow_(std::move(makeMainWindow)) {}

StartupEnd CConfigApp::InitInstance(const std::vector<std::string>& arguments) {
  AppContext& c = context_;
  adapter::AdapterLibrary& library = c.services.adapterLibrary;
  config::SettingStore& store = c.store;

  // 1. Embedded controls and the three-dimensional look need no set-up with our window backends.

  // 2. Lets users without administrator rights change the adapter's settings later on.
  if (library.QueryWL_IsWindows2000() != 0 && library.IsAdmin() != 0) {
    library.NonAdminUserEnabler();
  }

  // 3. Process-wide state.
  c.adapter = adapter::CurrentAdapter{};
  // Without a notification area nothing could open a hidden window: it starts shown.
  c.startHidden = c.services.tray.Supported();

  // 4. Switches.
  const CommandSwitches switches = ParseCommandSwitches(arguments);

  // 5. Paths. The full path is kept whatever its length: a cut path would name other files.
  c.programFolder = c.services.programPath.parent_path();

  // 6. Product file.
  c.product = LoadProductConfig(ProductFilePath(c.services.programPath));

  // 7. Registry location: "software\<company>\<program file name without extension>".
  store.SetApplicationKey(c.product.companyAbbrev,
                          platform::FromUtf8(c.services.programPath.stem().string()));
  store.SetChipMode(c.product.releaseChipMode);

  // 8. Language.
  LoadLanguage();

  // 9. Titles.
  const std::u16string storedTitle = store.ReadAppText(store.ChipValue(config::app_value::ProgramTitle));
  c.windowTitle = WindowTitle(c.services.language, c.product.releaseChipMode);
  const std::u16string olderTitle = OlderTitle(c.product.releaseChipMode);

  // 10. EXIT: only ask the running instance to go.
  if (switches.exit) {
    store.WriteAppNumber(store.ChipValue(config::app_value::ExitRequest), 1);
    return StartupEnd::ToldToExit;
  }

  // 11. Single instance.
  if (AnotherInstanceAnswers(storedTitle, olderTitle)) return StartupEnd::WokeOtherWindow;

  // 12. Both flags have been seen by now, or nobody was there to see them.
  store.WriteAppNumber(store.ChipValue(config::app_value::ExitRequest), 0);
  store.WriteAppNumber(store.ChipValue(config::app_value::WakeUpRequest), 0);

  // 13. Main window, with the delayed service choice.
  std::unique_ptr<platform::window::Dialog> mainWindow = makeMainWindow_(c, switches.delayed);
  c.mainWindow = mainWindow.get();

  // 14. Tray icon.
  CreateTrayIcon();

  // 15. Who controls the adapter.
  ApplyServiceSwitches(switches);

  // 16. The main window runs until it closes.
  mainWindow->DoModal();

  // 17. Shutdown.
  c.trayIcon->RemoveIcon();
  c.trayIcon->Destroy();
  c.trayIcon.reset();
  c.mainWindow = nullptr;
  mainWindow.reset();
  return StartupEnd::MainWindowRan;
}

void CConfigApp::LoadLanguage() {
  AppContext& c = context_;
  const std::u16string& fileName = c.services.adapterLibrary.CheckOSWinNT() != 0
                                       ? c.product.unicodeLanguageFile
                                       : c.product.sbcsLanguageFile;
  c.services.language.LoadLanguageFile(c.programFolder / platform::ToUtf8(fileName),
                                       lang::kIndexSection);
  // A stored index outside the file's languages leaves language 1 selected.
  c.services.language.SelectLanguage(
      c.store.ReadAppNumber(c.store.ChipValue(config::app_value::LanguageId), 1));
}

// True when another instance runs and was asked to show its window: this one must end.
bool CConfigApp::AnotherInstanceAnswers(const std::u16string& storedTitle,
                                        const std::u16string& olderTitle) {
  AppContext& c = context_;
  config::SettingStore& store = c.store;
  const platform::WindowTitles& windows = c.services.windowTitles;

  // 11.1 First run, another language or another chip mode: whatever runs under the old title
  // cannot be found by the new one, so it is told to exit.
  if (storedTitle != c.windowTitle) {
    store.WriteAppNumber(store.ChipValue(config::app_value::ExitRequest), 1);
    c.services.clock.Sleep(kExitWait);
    store.WriteAppText(store.ChipValue(config::app_value::ProgramTitle), c.windowTitle);
    return false;
  }
  // 11.2 The running instance's window is there: it shows itself on its next tick.
  if (windows.Exists(storedTitle)) {
    store.WriteAppNumber(store.ChipValue(config::app_value::WakeUpRequest), 1);
    return true;
  }
  // 11.3 An older release of the utility runs.
  if (!olderTitle.empty() && olderTitle != storedTitle && windows.Exists(olderTitle)) {
    store.WriteAppNumber(store.ChipValue(config::app_value::WakeUpRequest), 1);
    return true;
  }
  // 11.4 An instance without a findable window still polls the flag and exits.
  store.WriteAppNumber(store.ChipValue(config::app_value::ExitRequest), 1);
  c.services.clock.Sleep(kExitWait);
  return false;
}

// Created and taken out of the notification area again at once: the main window shows it, with
// the picture of the adapter's state, once it has opened an adapter.
void CConfigApp::CreateTrayIcon() {
  AppContext& c = context_;
  const lang::CMultiLanguage& language = c.services.language;
  c.trayIcon = std::make_unique<CConfigTrayIcon>(c.services.tray, [&c] { return c.mainWindow; });
  c.trayIcon->Create(language.LoadLangString(lang::texts::MP_Small_Icon_Tip), kStartupTrayIcon,
                     kTrayMenuId, kCommandOpenWindow, false);
  c.trayIcon->SetMenuText(0, language.LoadLangString(lang::texts::MP_Small_Icon_Item_1));
  c.trayIcon->SetMenuText(1, language.LoadLangString(lang::texts::MP_Small_Icon_Item_Client_MS));
  c.trayIcon->SetMenuText(2, language.LoadLangString(lang::texts::MP_Small_Icon_Item_2));
  c.trayIcon->RemoveIcon();
}

void CConfigApp::ApplyServiceSwitches(const CommandSwitches& switches) {
  AppContext& c = context_;
  adapter::AdapterLibrary& library = c.services.adapterLibrary;
  const int ownClientRuns = c.store.ReadAppNumber(config::app_value::OwnClientRun, 0);
  if (switches.forceOwnClient) {
    c.store.WriteAppNumber(config::app_value::OwnClientRun, 1);
    library.QVStopWZCService();
  } else if (switches.setService) {
    if (ownClientRuns == 0) {
      library.QVStartWZCService();
    } else {
      library.QVStopWZCService();
    }
  }
}

}  // namespace app
