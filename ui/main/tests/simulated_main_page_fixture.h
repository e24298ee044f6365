#pragma once
// The main window on the simulated adapter library, loaded as the program loads it, with the
// SQLite registry store the library seeds and a virtual clock.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string_view>

#include "adapter/testing/simulated_adapter.h"
#include "platform/registry/tests/temp_dir.h"
#include "ui/main/tests/main_page_fixture.h"

namespace ui::testing {

inline const std::u16string kDualBandFamilyId = u"PCI\\VEN_F5A1&DEV_7500";

class SimulatedMainPageTest : public ::testing::Test {
 protected:
  // `scenario`: the world's JSON; empty for the library's built-in world.
  explicit SimulatedMainPageTest(std::string_view scenario) {
    main_page::RegisterMainPageTemplate();
    std::filesystem::path file;
    if (!scenario.empty()) {
      file = dir_.path() / "scenario.json";
      std::ofstream(file) << scenario;
    }
    simulated_ = adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir_.path(),
                                                        file, clock_);
    auto opened = platform::OpenSqliteRegistry(dir_.path());
    registry_ = std::move(opened.registry);
    if (registry_) store_ = std::make_unique<config::SettingStore>(*registry_);
    product_.matchingDeviceIds[0] = kUsbFamilyId;
    product_.matchingDeviceIds[1] = kDualBandFamilyId;
    product_.enableAccessPoint = 1;
  }

  int Run(const std::function<void(ObservedMainPage&)>& body) {
    MainWindowServices services{*store_,  *simulated_.library, current_, radio_,
                                clock_,   product_,            tray_,    supplicant_,
                                language_, chain_,             startHidden_, bluetooth_};
    ObservedMainPage page(services);
    session_.driver.OnOpen(main_page::kTemplateId, [&](platform::window::Dialog& d) {
      body(static_cast<ObservedMainPage&>(d));
    });
    return page.DoModal();
  }
  void Tick() {
    session_.backend.Tick();
    session_.backend.Pump();
  }

  platform::testing::TempDir dir_;
  platform::VirtualClock clock_;
  platform::window::headless::ScriptedSession session_{clock_};
  adapter::testing::SimulatedAdapter simulated_;
  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<config::SettingStore> store_;
  adapter::CurrentAdapter current_;
  config::RadioState radio_;
  app::ProductConfig product_;
  RecordingTray tray_;
  config::RecordingSupplicantControl supplicant_;
  lang::CMultiLanguage language_;
  DialogChain chain_;
  bool startHidden_ = true;
  std::unique_ptr<platform::ChildProcess> bluetooth_;
};

}  // namespace ui::testing
