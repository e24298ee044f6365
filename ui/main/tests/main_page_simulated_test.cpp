// The main window on the simulated adapter library, loaded as the program loads it, with the
// SQLite registry store the library seeds and a virtual clock.

#include <gtest/gtest.h>

#include <fstream>

#include "adapter/testing/simulated_adapter.h"
#include "platform/registry/tests/temp_dir.h"
#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using testing::ObservedMainPage;
using testing::RecordingTray;

constexpr char kScenario[] = R"({
  "adapters": [{
    "name": "{6F1C2A10-7100-4D5A-9E11-00000000A001}",
    "description": "VZ 7100 USB Wireless LAN Adapter",
    "instance": "0007",
    "hardwareId": "USB\\VID_F5A1&PID_7100",
    "mac": "02:5A:71:00:00:01",
    "chip": 1,
    "region": 48
  }]
})";

class MainPageSimulatedTest : public ::testing::Test {
 protected:
  MainPageSimulatedTest() {
    main_page::RegisterMainPageTemplate();
    const std::filesystem::path scenario = dir_.path() / "scenario.json";
    std::ofstream(scenario) << kScenario;
    simulated_ = adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir_.path(),
                                                        scenario, clock_);
    auto opened = platform::OpenSqliteRegistry(dir_.path());
    registry_ = std::move(opened.registry);
    if (registry_) store_ = std::make_unique<config::SettingStore>(*registry_);
    product_.matchingDeviceIds[0] = testing::kUsbFamilyId;
    product_.enableAccessPoint = 1;
  }

  int Run(const std::function<void(ObservedMainPage&)>& body) {
    MainWindowServices services{*store_,  *simulated_.library, current_, radio_,
                                clock_,   product_,            tray_,    supplicant_,
                                language_, chain_,             startHidden_, bluetooth_};
    ObservedMainPage page(services);
    session_.driver.OnOpen(kTemplateId, [&](platform::window::Dialog& d) {
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
  bool startHidden_ = false;
  std::unique_ptr<platform::ChildProcess> bluetooth_;
};

TEST_F(MainPageSimulatedTest, OpensTheAdapterAndPollsInStationMode) {
  ASSERT_EQ(simulated_.error, "");
  ASSERT_NE(store_, nullptr);
  Run([&](ObservedMainPage& p) {
    ASSERT_TRUE(p.AdapterOpen());
    EXPECT_EQ(p.ComboItem(id::AdapterBox, 0), u"VZ 7100 USB Wireless LAN Adapter");
    EXPECT_EQ(store_->OperationMode(), config::kStationMode);
    EXPECT_TRUE(tray_.shown);
    for (int tick = 0; tick < 5; ++tick) Tick();
    EXPECT_TRUE(p.AdapterOpen());
    EXPECT_NE(p.WzcState(), 1);
    EXPECT_EQ(p.GetText(id::ListTitle), u"Available Network:");
  });
}

TEST_F(MainPageSimulatedTest, StoredAccessPointModeIsImposedAndPolled) {
  ASSERT_EQ(simulated_.error, "");
  ASSERT_NE(store_, nullptr);
  (void)store_->WriteAppNumber(store_->ChipValue(u"VUZidezaOperationMode"), 1);
  Run([&](ObservedMainPage& p) {
    ASSERT_TRUE(p.AdapterOpen());
    EXPECT_EQ(simulated_.library->QueryWL_OperationMode_STA_AP(current_.handle), 1);
    EXPECT_EQ(store_->OperationMode(), config::kAccessPointMode);
    EXPECT_EQ(tray_.icon, icon::Tray[tray_index::AccessPoint]);
    Tick();
    const std::u16string channel = p.GetText(id::PanelValue1);
    EXPECT_FALSE(channel.empty());
    EXPECT_EQ(channel,
              platform::Format(u"%d", simulated_.library->QueryWL_Channel(current_.handle)));
    EXPECT_EQ(p.GetText(id::TxFrameText), u"0");
    EXPECT_EQ(p.GetText(id::RxFrameText), u"0");
  });
}

}  // namespace
}  // namespace ui
