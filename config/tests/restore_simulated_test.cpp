// The restore and adapter discovery against the simulated adapter library, loaded as the program
// loads it, with the SQLite registry store and a virtual clock.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "adapter/adapter_discovery.h"
#include "adapter/testing/simulated_adapter.h"
#include "config/restore.h"
#include "config/setting_keys.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"
#include "platform/text/text.h"

namespace config {
namespace {

using ::testing::ElementsAre;

constexpr char kRefusingScenario[] = R"({
  "adapters": [{
    "name": "{6F1C2A10-7100-4D5A-9E11-00000000A001}",
    "description": "VZ 7100 USB Wireless LAN Adapter",
    "instance": "0007",
    "hardwareId": "USB\\VID_F5A1&PID_7100",
    "mac": "02:5A:71:00:00:01",
    "chip": 1,
    "region": 48,
    "faults": {"refusedSetters": ["SetWL_FragmentationThreshold"]}
  }]
})";

class RestoreSimulatedTest : public ::testing::Test {
 protected:
  void Open(const std::string& scenarioText = "") {
    std::filesystem::path scenario;
    if (!scenarioText.empty()) {
      scenario = dir_.path() / "scenario.json";
      std::ofstream(scenario) << scenarioText;
    }
    simulated_ = adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir_.path(),
                                                        scenario, clock_);
    ASSERT_EQ(simulated_.error, "");
    auto opened = platform::OpenSqliteRegistry(dir_.path());
    ASSERT_NE(opened.registry, nullptr) << opened.error;
    registry_ = std::move(opened.registry);
    store_ = std::make_unique<SettingStore>(*registry_);
    store_->SetAdapterInstance(simulated_.instance);
    context_ = std::make_unique<ApplierContext>(
        ApplierContext{*simulated_.library, simulated_.handle, *store_, radio_});
  }
  void Restore() {
    RecordingSupplicantControl supplicant;
    lang::CMultiLanguage language;
    EXPECT_EQ(RestoreConfiguration(*context_, {clock_, supplicant, language, 0, 1}), 0);
  }
  adapter::AdapterLibrary& Driver() { return *simulated_.library; }

  platform::testing::TempDir dir_;
  platform::VirtualClock clock_;
  adapter::testing::SimulatedAdapter simulated_;
  std::unique_ptr<platform::Registry> registry_;
  std::unique_ptr<SettingStore> store_;
  RadioState radio_;
  std::unique_ptr<ApplierContext> context_;
};

TEST_F(RestoreSimulatedTest, StationRestoreFromAnEmptyTreeStoresWhatTheDriverTook) {
  Open();
  Restore();
  adapter::AdapterHandle& h = simulated_.handle;
  const struct {
    std::u16string_view key;
    int driverValue;
  } settings[] = {
      {key::WirelessMode, Driver().QueryWL_802_11_NetworkTypeInUse(h)},
      {key::NetworkType, Driver().QueryWL_NetworkType(h)},
      {key::AuthenticationMode, Driver().QueryWL_AuthenticationMode(h)},
      {key::WEPStatus, Driver().QueryWL_WEPStatus(h)},
      {key::FragmentationThreshold, Driver().QueryWL_FragmentationThreshold(h)},
      {key::RTSThreshold, Driver().QueryWL_RTS_CTS_Threshold(h)},
      {key::MultiDomainCapability, Driver().QueryWL_MultiDomainCapability(h)},
      {key::OperationRegion, Driver().QueryWL_OperationRegionCode(h)},
  };
  for (const auto& s : settings) {
    SCOPED_TRACE(platform::ToUtf8(s.key));
    EXPECT_NE(s.driverValue, -1);
    EXPECT_EQ(store_->ReadSettingInt(s.key), s.driverValue);
  }
  EXPECT_EQ(radio_.bandCapability.load(), band_capability::TwoPointFourOnly);
  EXPECT_EQ(radio_.wirelessModeSettable.load(), 1);
  EXPECT_EQ(store_->ReadSettingString(key::DesiredRate),
            u"82 84 8B 96 0C 12 18 24 30 48 60 6C 00 00 00 00");

  // Written durably: a second store on the same files sees the tree.
  auto reopened = platform::OpenSqliteRegistry(dir_.path());
  ASSERT_NE(reopened.registry, nullptr);
  SettingStore second(*reopened.registry);
  second.SetAdapterInstance(simulated_.instance);
  EXPECT_EQ(second.ReadSettingString(key::RTSThreshold), u"2347");
  EXPECT_EQ(second.ReadSettingString(key::WEPKeyLength), u"64");
}

TEST_F(RestoreSimulatedTest, RefusedPushesLeaveTheStoredValuesAsTheyWere) {
  Open(kRefusingScenario);
  ASSERT_EQ(store_->WriteSetting(key::FragmentationThreshold, u"100"), 0);  // refused as 2346
  ASSERT_EQ(store_->WriteSetting(key::RTSThreshold, u"9999"), 0);           // taken as 2347
  ASSERT_EQ(store_->WriteSetting(key::NetworkType, u"0"), 0);
  ASSERT_EQ(store_->WriteSetting(key::Channel, u"14"), 0);  // not among the adapter's 1-13
  Restore();
  EXPECT_EQ(store_->ReadSettingString(key::FragmentationThreshold), u"100");
  EXPECT_EQ(store_->ReadSettingString(key::RTSThreshold), u"2347");
  EXPECT_EQ(store_->ReadSettingString(key::Channel), u"14");
  EXPECT_EQ(Driver().QueryWL_RTS_CTS_Threshold(simulated_.handle), 2347);
}

TEST_F(RestoreSimulatedTest, AccessPointRestoreFromAnEmptyTreeBringsUpTheDefaultNetwork) {
  Open();
  ASSERT_EQ(Driver().SetWL_OperationMode_STA_AP(simulated_.handle, 1), 0);
  store_->SetOperationMode(kAccessPointMode);
  Restore();
  adapter::AdapterHandle& h = simulated_.handle;
  EXPECT_EQ(store_->ReadSettingString(key::SSID), u"WLAN_AP");
  std::array<std::uint8_t, VZ_SSID_SIZE> ssid{};
  ASSERT_EQ(Driver().QueryWL_SSID(h, ssid), 7);
  EXPECT_EQ(std::string(ssid.begin(), ssid.begin() + 7), "WLAN_AP");
  EXPECT_EQ(store_->ReadSettingInt(key::Channel), Driver().QueryWL_Channel(h));
  EXPECT_EQ(store_->ReadSettingInt(key::Channel), 6);
  EXPECT_EQ(store_->ReadSettingString(key::HideSSID), u"0");
  EXPECT_EQ(store_->ReadSettingString(u"MACFilterAddr15"), u"00 00 00 00 00 00");
  // The station tree got only the region, which both modes share.
  store_->SetOperationMode(kStationMode);
  EXPECT_EQ(store_->ReadSettingString(key::SSID), u"");
  EXPECT_EQ(store_->ReadSettingString(key::OperationRegion), u"0");
}

class ListBox final : public adapter::AdapterBox {
 public:
  void ResetAdapterBox() override {
    items.clear();
    selection = -1;
  }
  void AddAdapterBoxItem(std::u16string_view text) override {
    items.push_back(platform::ToUtf8(text));
  }
  void SelectAdapterBoxItem(int index) override { selection = index; }
  int AdapterBoxSelection() const override { return selection; }
  std::vector<std::string> items;
  int selection = -1;
};

// What the main window will do once an adapter is open, reduced to the restore.
class RestoringHandler final : public adapter::AdapterSelectionHandler {
 public:
  explicit RestoringHandler(std::function<void()> restore) : restore_(std::move(restore)) {}
  void AdapterInstanceChanged(std::string_view) override {}
  void AdapterOpened() override { restore_(); }

 private:
  std::function<void()> restore_;
};

TEST_F(RestoreSimulatedTest, DiscoveryFindsTheSimulatedAdapterThroughTheMachineRegistry) {
  Open();
  (void)Driver().QvCloseAdapter(simulated_.handle);
  adapter::CurrentAdapter current;
  ListBox box;
  bool restored = false;
  RestoringHandler handler([&] {
    store_->SetAdapterInstance(current.instance);
    ApplierContext context{Driver(), current.handle, *store_, radio_};
    RecordingSupplicantControl supplicant;
    lang::CMultiLanguage language;
    restored =
        RestoreConfiguration(context, {clock_, supplicant, language, 0, current.chipType}) == 0;
  });
  adapter::AdapterDiscovery discovery({Driver(), *registry_, clock_, box, handler}, current,
                                      {u"usb\\vid_f5a1&pid_7100"});
  discovery.DiscoverAdapters();
  EXPECT_THAT(box.items, ElementsAre("VZ 7100 USB Wireless LAN Adapter"));  // not the wired one
  EXPECT_TRUE(discovery.AdapterOpen());
  EXPECT_EQ(current.instance, "0007");
  EXPECT_EQ(current.chipType, 1);
  EXPECT_TRUE(restored);
  EXPECT_EQ(Driver().QueryWL_RTS_CTS_Threshold(current.handle), 2347);
}

}  // namespace
}  // namespace config
