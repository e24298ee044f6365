// Switching between station and access point with the mode box.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "adapter/testing/survey_builder.h"
#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using platform::window::CommandCode;
using testing::MainPageFixture;
using testing::ObservedMainPage;

struct ModeFixture : MainPageFixture {
  ModeFixture() {
    product.enableAccessPoint = 1;
    driver.Answer("QueryWL_CheckWZCStatus", 0);
  }
  // Starts in `mode`, which the driver reports as its own.
  int RunIn(int mode, const std::function<void(ObservedMainPage&)>& body) {
    SetAppNumber(u"VUZidezaOperationMode", mode);
    driver.Answer("QueryWL_OperationMode_STA_AP", mode);
    PlugAdapter();
    return Run(body);
  }
  void Choose(ObservedMainPage& p, int entry) {
    driver.ClearCalls();
    p.ComboSelect(id::ModeBox, entry);
    p.OnCommand(id::ModeBox, CommandCode::SelChange);
  }
  std::u16string StoredMode() const {
    return store.ReadAppText(store.ChipValue(u"VUZidezaOperationMode"));
  }
  std::vector<std::u16string> Rows(ObservedMainPage& p) const {
    std::vector<std::u16string> rows;
    for (int row = 0; row < p.ListItemCount(id::List); ++row) {
      rows.push_back(p.ListItemText(id::List, row, 0));
    }
    return rows;
  }
};

TEST(MainPageModeSwitch, ToAccessPointRestoresItsTreeAndShowsItsPanel) {
  ModeFixture f;
  f.RunIn(config::kStationMode, [&](ObservedMainPage& p) {
    ASSERT_TRUE(p.ScanPending());
    (void)f.store.WriteSetting(config::kAccessPointMode, u"Channel", u"11");
    (void)f.store.WriteSetting(config::kAccessPointMode, u"SSID", u"Lobby");
    const platform::Millis start = f.clock.Now();
    f.Choose(p, config::kAccessPointMode);

    EXPECT_EQ(f.store.OperationMode(), config::kAccessPointMode);
    EXPECT_EQ(f.StoredMode(), u"1");
    EXPECT_EQ(f.driver.Calls("SetWL_OperationMode_STA_AP"),
              std::vector<std::string>{"SetWL_OperationMode_STA_AP(1)"});
    EXPECT_EQ(f.clock.Now() - start, platform::Millis(1000));
    // The pending scan is dropped, never fetched.
    EXPECT_FALSE(p.ScanPending());
    EXPECT_TRUE(f.driver.Calls("WL_RetrieveSiteSurveyData").empty());
    // The access point tree went to the driver: its filter, SSID and hidden state.
    EXPECT_FALSE(f.driver.Calls("SetWLAP_FilterList").empty());
    EXPECT_FALSE(f.driver.Calls("SetWLAP_HideSSIDState").empty());
    EXPECT_THAT(f.driver.Calls("SetWL_SSID"), ::testing::Contains("SetWL_SSID(4C6F626279, 5)"));

    EXPECT_EQ(f.tray.icon, icon::Tray[tray_index::AccessPoint]);
    EXPECT_EQ(p.TrayIconIndex(), tray_index::AccessPoint);
    EXPECT_EQ(p.GetText(id::ListTitle), u"Connect Station List:");
    EXPECT_EQ(p.GetText(id::RefreshButton), u"");
    EXPECT_FALSE(p.IsEnabled(id::RefreshButton));
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Current Network Setting");
    EXPECT_EQ(p.GetText(id::PanelValue1), u"11");
    EXPECT_EQ(p.GetText(id::PanelValue2), u"Lobby");
    EXPECT_EQ(p.GetText(id::PanelValue3), u"Disable");
    EXPECT_EQ(p.GetText(id::PanelValue4), u"Level 0");
    EXPECT_TRUE(p.IsVisible(id::PanelButton));
    EXPECT_TRUE(p.IsEnabled(id::PanelButton));
    EXPECT_TRUE(p.IsEnabled(id::ModeBox));
    EXPECT_FALSE(p.IsVisible(id::SignalBar));
    EXPECT_TRUE(p.IsVisible(id::TxFrameText));
  });
}

TEST(MainPageModeSwitch, BackToStationShowsTheLastScanUntilRefresh) {
  ModeFixture f;
  adapter::testing::SurveyEntryFields harbor, campus;
  harbor.ssid = "Harbor";
  campus.ssid = "Campus";
  f.driver.AnswerBytes("WL_RetrieveSiteSurveyData",
                       adapter::testing::SurveyBufferBytes({harbor, campus}));
  f.driver.Answer("WL_RetrieveSiteSurveyData", 0);
  f.RunIn(config::kStationMode, [&](ObservedMainPage& p) {
    for (int tick = 0; tick <= SiteSurvey::kScanWaitTicks; ++tick) f.Tick();
    ASSERT_EQ(f.Rows(p), (std::vector<std::u16string>{u"Harbor", u"Campus"}));
    f.Choose(p, config::kAccessPointMode);
    EXPECT_TRUE(f.Rows(p).empty());

    const platform::Millis start = f.clock.Now();
    f.Choose(p, config::kStationMode);
    EXPECT_EQ(f.StoredMode(), u"0");
    EXPECT_EQ(f.store.OperationMode(), config::kStationMode);
    EXPECT_EQ(f.driver.Calls("SetWL_OperationMode_STA_AP"),
              std::vector<std::string>{"SetWL_OperationMode_STA_AP(0)"});
    EXPECT_EQ(f.clock.Now() - start, platform::Millis(1200));
    EXPECT_TRUE(f.driver.Calls("WL_SiteSurveyStart").empty());
    EXPECT_EQ(f.Rows(p), (std::vector<std::u16string>{u"Harbor", u"Campus"}));
    EXPECT_EQ(p.GetText(id::RefreshButton), u"Refresh");
    EXPECT_TRUE(p.IsEnabled(id::RefreshButton));
    EXPECT_EQ(f.tray.icon, icon::Tray[tray_index::NotConnected]);
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Current Network Information");
    EXPECT_TRUE(p.IsEnabled(id::ModeBox));
  });
}

TEST(MainPageModeSwitch, TheActiveEntryOrNoEntryChangesNothing) {
  ModeFixture f;
  f.RunIn(config::kAccessPointMode, [&](ObservedMainPage& p) {
    (void)f.store.WriteAppText(f.store.ChipValue(u"VUZidezaOperationMode"), u"untouched");
    for (int entry : {config::kAccessPointMode, -1}) {
      f.Choose(p, entry);
      EXPECT_TRUE(f.driver.Calls().empty());
      EXPECT_EQ(f.StoredMode(), u"untouched");
      EXPECT_EQ(f.store.OperationMode(), config::kAccessPointMode);
    }
  });
}

TEST(MainPageModeSwitch, ADriverRefusingTheModeIsReportedBeforeTheProgramEnds) {
  ModeFixture f;
  f.driver.Answer("SetWL_OperationMode_STA_AP", -1);
  const int result = f.RunIn(config::kStationMode, [&](ObservedMainPage& p) {
    f.Choose(p, config::kAccessPointMode);
    EXPECT_TRUE(p.Ending());
    const auto& boxes = f.session.backend.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              u"The adapter did not accept the new operating mode. The program will close now.");
    EXPECT_EQ(boxes[0].caption, p.Caption());
    EXPECT_EQ(boxes[0].ownerTemplate, kTemplateId);
  });
  EXPECT_EQ(result, 0);
}

TEST(MainPageModeSwitch, StoredAccessPointModeSurvivesARestart) {
  ModeFixture f;
  f.RunIn(config::kStationMode, [&](ObservedMainPage& p) {
    f.Choose(p, config::kAccessPointMode);
  });
  // The next run finds an adapter that starts as a station and makes it an access point again.
  f.driver.Answer("QueryWL_OperationMode_STA_AP", config::kStationMode);
  f.driver.ClearCalls();
  f.store.SetOperationMode(config::kStationMode);
  f.Run([&](ObservedMainPage& p) {
    EXPECT_EQ(f.driver.Calls("SetWL_OperationMode_STA_AP"),
              std::vector<std::string>{"SetWL_OperationMode_STA_AP(1)"});
    EXPECT_EQ(f.store.OperationMode(), config::kAccessPointMode);
    EXPECT_EQ(p.ComboSelection(id::ModeBox), config::kAccessPointMode);
    EXPECT_EQ(p.GetText(id::ListTitle), u"Connect Station List:");
  });
}

}  // namespace
}  // namespace ui
