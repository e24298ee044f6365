// What the window does once discovery opened an adapter: the stored operating mode, the layout,
// the hand-over state, the restore and the tray icon.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using testing::MainPageFixture;
using testing::ObservedMainPage;

constexpr int kAbsent = -100;

struct SelectionCase {
  const char* name;
  int enableAccessPoint;
  int storedMode;    // kAbsent: no stored value
  int driverMode;    // what QueryWL_OperationMode_STA_AP answers
  int wzcReported;   // what QueryWL_CheckWZCStatus answers
  std::vector<std::string> modeCalls;  // the operation-mode calls made
  int operationMode;
  bool modeBox;
  int trayIcon;      // the icon added at the end
  bool restored;
};

TEST(MainPageAdapterSelection, ImposesTheStoredModeAndBringsTheWindowUpToDate) {
  const SelectionCase cases[] = {
      {"no access point product: mode neither read nor changed", 0, 1, 1, -1, {}, 0, false, 193,
       true},
      {"stored station, driver in station", 1, 0, 0, -1,
       {"QueryWL_OperationMode_STA_AP()"}, 0, true, 193, true},
      {"nothing stored counts as station", 1, kAbsent, 1, -1,
       {"QueryWL_OperationMode_STA_AP()", "SetWL_OperationMode_STA_AP(0)"}, 0, true, 193, true},
      {"stored access point switches a station adapter", 1, 1, 0, -1,
       {"QueryWL_OperationMode_STA_AP()", "SetWL_OperationMode_STA_AP(1)"}, 1, true, 178, true},
      {"a stored value outside the modes counts as station", 1, 7, 0, -1,
       {"QueryWL_OperationMode_STA_AP()"}, 0, true, 193, true},
      {"driver that cannot tell its mode gets the stored one", 1, 0, -1, -1,
       {"QueryWL_OperationMode_STA_AP()", "SetWL_OperationMode_STA_AP(0)"}, 0, true, 193, true},
      {"WZC in control: its icon and no restore", 1, 0, 0, 1,
       {"QueryWL_OperationMode_STA_AP()"}, 0, true, 174, false},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    MainPageFixture f;
    f.product.enableAccessPoint = c.enableAccessPoint;
    if (c.storedMode != kAbsent) f.SetAppNumber(u"VUZidezaOperationMode", c.storedMode);
    f.driver.Answer("QueryWL_OperationMode_STA_AP", c.driverMode);
    f.driver.Answer("QueryWL_CheckWZCStatus", c.wzcReported);
    f.PlugAdapter();
    const platform::Millis start = f.clock.Now();
    f.Run([&](ObservedMainPage& p) {
      ASSERT_TRUE(p.AdapterOpen());
      std::vector<std::string> modeCalls = f.driver.Calls("QueryWL_OperationMode_STA_AP");
      for (const std::string& call : f.driver.Calls("SetWL_OperationMode_STA_AP")) {
        modeCalls.push_back(call);
      }
      EXPECT_EQ(modeCalls, c.modeCalls);
      EXPECT_EQ(f.store.OperationMode(), c.operationMode);
      EXPECT_EQ(p.ModeBoxAllowed(), c.modeBox);
      EXPECT_EQ(p.IsVisible(id::ModeBox), c.modeBox);
      EXPECT_EQ(p.IsVisible(id::ModeLabel), c.modeBox);
      EXPECT_TRUE(f.tray.shown);
      ASSERT_FALSE(f.tray.events.empty());
      EXPECT_EQ(f.tray.events.back(), "add " + std::to_string(c.trayIcon));
      EXPECT_EQ(f.driver.Calls("SetWL_SSID").empty(), !c.restored);
      EXPECT_EQ(f.tray.menu[1], u"Open Utility Window");
      EXPECT_EQ(f.tray.menu[2], c.wzcReported == 1 ? u"Use Orvex Wireless Configuration"
                                                   : u"Use Microsoft Wireless Zero Configuration");
      EXPECT_EQ(f.tray.menu[3], u"Exit VUZideza");
      const bool accessPoint = c.operationMode == config::kAccessPointMode;
      // Station mode starts a scan, which holds "Refresh" until its results are in.
      EXPECT_EQ(p.GetText(id::ListTitle),
                accessPoint ? u"Connect Station List:" : u"Scanning Avaliable Network...");
      EXPECT_EQ(p.ScanPending(), !accessPoint);
      EXPECT_EQ(f.driver.Calls("WL_SiteSurveyStart").size(), accessPoint ? 0u : 1u);
      EXPECT_EQ(p.IsVisible(id::PanelButton), accessPoint);
      EXPECT_FALSE(p.IsEnabled(id::RefreshButton));
    });
    // The adapter's settle time, and one more second when the mode had to be changed.
    const bool switched = !f.driver.Calls("SetWL_OperationMode_STA_AP").empty();
    EXPECT_GE((f.clock.Now() - start).count(), switched ? 2000 : 1000);
  }
}

TEST(MainPageAdapterSelection, AdapterComingBackAfterUnpluggingShowsTheTrayIconAgain) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage& p) {
    f.driver.Answer("QueryWL_DriverVersion", -1);
    f.Tick();
    ASSERT_FALSE(f.tray.shown);
    f.driver.Answer("QueryWL_DriverVersion", 0x0203);
    f.Tick();
    EXPECT_TRUE(p.AdapterOpen());
    EXPECT_TRUE(f.tray.shown);
    EXPECT_EQ(f.tray.icon, 193);
  });
}

TEST(MainPageAdapterSelection, SettingTreesFollowTheSelectedAdapter) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage&) {
    EXPECT_EQ(f.current.instance, "0007");
    EXPECT_NE(f.store.TreePath(config::kStationMode).find(u"0007"), std::u16string::npos);
  });
}

}  // namespace
}  // namespace ui
