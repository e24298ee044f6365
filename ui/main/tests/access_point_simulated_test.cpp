// Access point mode of the main window on the simulated adapter: the scenario's stations join the
// soft access point and leave it, and the window lists them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/main/tests/simulated_main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using testing::ObservedMainPage;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kWorld[] = R"({
  "adapters": [
    {"name": "{6F1C2A10-7100-4D5A-9E11-00000000A001}", "description": "VZ 7100 USB Wireless LAN Adapter",
     "instance": "0007", "hardwareId": "USB\\VID_F5A1&PID_7100", "mac": "02:5A:71:00:00:01"},
    {"name": "{6F1C2A10-0E00-4D5A-9E11-00000000E001}", "description": "Simulated Fast Ethernet Adapter",
     "instance": "0001", "hardwareId": "ROOT\\VZSIM_ETHERNET", "mac": "02:5A:E0:00:00:01", "wireless": false}
  ],
  "stations": [
    {"mac": "02:5A:5A:00:00:01", "joinAfterMs": 1000, "leaveAfterMs": 9000},
    {"mac": "02:5A:5A:00:00:02", "ssid": "WLAN_AP"},
    {"mac": "02:5A:5A:00:00:03", "ssid": "Lobby"},
    {"mac": "02:5A:5A:00:00:04", "bands": "5"}
  ]
})";

class AccessPointSimulatedTest : public testing::SimulatedMainPageTest {
 protected:
  AccessPointSimulatedTest() : SimulatedMainPageTest(kWorld) {}

  void SwitchToAccessPoint(ObservedMainPage& p) {
    p.ComboSelect(id::ModeBox, config::kAccessPointMode);
    p.OnCommand(id::ModeBox, platform::window::CommandCode::SelChange);
  }
  static std::vector<std::u16string> Rows(ObservedMainPage& p) {
    std::vector<std::u16string> rows;
    for (int row = 0; row < p.ListItemCount(id::List); ++row) {
      rows.push_back(p.ListItemText(id::List, row, 0));
    }
    return rows;
  }
};

TEST_F(AccessPointSimulatedTest, StationsThatFindTheAccessPointAreListedWhileTheyStay) {
  ASSERT_EQ(simulated_.error, "");
  ASSERT_NE(store_, nullptr);
  Run([&](ObservedMainPage& p) {
    ASSERT_TRUE(p.AdapterOpen());
    SwitchToAccessPoint(p);
    EXPECT_EQ(p.GetText(id::PanelValue1), u"6");
    EXPECT_EQ(p.GetText(id::PanelValue2), u"WLAN_AP");
    EXPECT_EQ(p.GetText(id::PanelValue3), u"Disable");
    EXPECT_EQ(store_->ReadSettingString(u"SSID"), u"WLAN_AP");

    // The list is refreshed every fifth tick.
    for (int tick = 1; tick < CMainPageDlg::kApTicksPerStationRefresh; ++tick) Tick();
    EXPECT_THAT(Rows(p), IsEmpty());
    Tick();
    EXPECT_THAT(Rows(p), ElementsAre(u"02 5A 5A 00 00 01", u"02 5A 5A 00 00 02"));
    // Frames flow while stations are associated.
    EXPECT_NE(p.GetText(id::TxFrameText), u"0");

    // The first station leaves nine seconds after the access point came up.
    for (int tick = 0; tick < CMainPageDlg::kApTicksPerStationRefresh; ++tick) Tick();
    EXPECT_THAT(Rows(p), ElementsAre(u"02 5A 5A 00 00 02"));
  });
}

}  // namespace
}  // namespace ui
