#pragma once
// The main window on fakes: a recording adapter library, an in-memory registry, a virtual clock,
// the headless backend and a recording tray. One family adapter can be plugged in.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adapter/adapter_discovery.h"
#include "adapter/testing/recording_adapter.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"
#include "platform/window/headless/scripted_driver.h"
#include "ui/main/main_page_dlg.h"
#include "ui/main/main_page_template.h"

namespace ui::testing {

class RecordingTray final : public MainWindowTray {
 public:
  void AddIcon(int iconResource) override {
    events.push_back("add " + std::to_string(iconResource));
    shown = true;
    icon = iconResource;
  }
  void SetIcon(int iconResource) override {
    events.push_back("set " + std::to_string(iconResource));
    icon = iconResource;
  }
  void RemoveIcon() override {
    events.push_back("remove");
    shown = false;
  }
  void SetMenuText(int item, std::u16string_view text) override {
    menu[item] = std::u16string(text);
  }

  std::vector<std::string> events;
  bool shown = false;
  int icon = 0;
  std::map<int, std::u16string> menu;
};

class RecordingProcess final : public platform::ChildProcess {
 public:
  explicit RecordingProcess(std::vector<int>& exitCodes) : exitCodes_(exitCodes) {}
  int Id() const override { return 4711; }
  bool Terminate(int exitCode) override {
    exitCodes_.push_back(exitCode);
    return true;
  }

 private:
  std::vector<int>& exitCodes_;
};

// Records the commands the window receives, then handles them as the window does.
class ObservedMainPage final : public CMainPageDlg {
 public:
  using CMainPageDlg::CMainPageDlg;
  void OnCommand(int id, platform::window::CommandCode code) override {
    received.push_back(id);
    if (code == platform::window::CommandCode::Menu) commands.push_back(id);
    CMainPageDlg::OnCommand(id, code);
  }
  std::vector<int> received;  // every command
  std::vector<int> commands;  // posted ones
};

inline const std::u16string kUsbFamilyId = u"USB\\VID_F5A1&PID_7100";
inline const std::u16string kPciFamilyId = u"PCI\\VEN_F5A1&DEV_7200";

struct MainPageFixture {
  MainPageFixture() {
    main_page::RegisterMainPageTemplate();
    product.matchingDeviceIds[0] = kUsbFamilyId;
    product.matchingDeviceIds[1] = kPciFamilyId;
  }

  // A family adapter the library lists and that answers.
  void PlugAdapter(const std::u16string& hardwareId = kUsbFamilyId) {
    const std::string instance = "0007";
    records.push_back(adapter::testing::MakeAdapterRecord("{F5A1-0007}", "Orvex 7100 USB", instance));
    (void)registry->SetValue(platform::RegRoot::LocalMachine,
                             adapter::AdapterClassKeyPath(false, instance), u"MatchingDeviceId",
                             platform::RegValue::Text(hardwareId));
    driver.AnswerAdapterList("CreateAllNICAdapterList", records);
    driver.Answer("QueryWL_DriverVersion", 0x0203);
  }

  void SetAppNumber(std::u16string_view name, int value) {
    (void)store.WriteAppNumber(store.ChipValue(name), value);
  }
  int AppNumber(std::u16string_view name) const {
    return store.ReadAppNumber(store.ChipValue(name), -7);
  }

  // Runs the window's modal loop with `body` inside it; returns the window's result.
  int Run(const std::function<void(ObservedMainPage&)>& body, DelayedServiceChoice choice = {}) {
    ObservedMainPage page(services, choice);
    session.driver.OnOpen(main_page::kTemplateId, [&](platform::window::Dialog& d) {
      body(static_cast<ObservedMainPage&>(d));
    });
    return page.DoModal();
  }

  // One firing of the refresh timer, then whatever it posted.
  void Tick() {
    session.backend.Tick();
    session.backend.Pump();
  }

  std::vector<std::string> CallsOfTick() {
    driver.ClearCalls();
    Tick();
    return driver.Calls();
  }

  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  std::unique_ptr<platform::MemoryRegistry> registry = platform::CreateMemoryRegistry();
  config::SettingStore store{*registry};
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::CurrentAdapter current;
  config::RadioState radio;
  app::ProductConfig product;
  RecordingTray tray;
  config::RecordingSupplicantControl supplicant;
  lang::CMultiLanguage language;
  DialogChain chain;
  bool startHidden = true;  // as start-up leaves it
  std::unique_ptr<platform::ChildProcess> bluetooth;
  std::vector<adapter::AdapterRecord> records;
  MainWindowServices services{store,    driver,     current,  radio,       clock,
                              product,  tray,       supplicant, language,  chain,
                              startHidden, bluetooth};
};

}  // namespace ui::testing
