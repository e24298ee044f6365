// The site survey: scan state, fetching results after four ticks, the network list, the selected
// entry view and the routing of Refresh, list clicks and the panel button.
#include "ui/main/site_survey.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "adapter/testing/survey_builder.h"
#include "ui/main/tests/station_panel_fixture.h"

namespace ui::testing {
namespace {

using adapter::testing::SurveyBufferBytes;
using adapter::testing::SurveyEntryFields;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

SurveyEntryFields Network(std::string ssid, int dBm, std::uint8_t last) {
  SurveyEntryFields fields;
  fields.ssid = std::move(ssid);
  fields.signalDbm = dBm;
  fields.bssid[5] = last;
  return fields;
}

class SiteSurveyTest : public StationPanelTest {
 protected:
  SiteSurveyActions Actions() {
    return SiteSurveyActions{
        [this](int mode) { log.push_back("panel " + std::to_string(mode)); },
        [this] { log.push_back("link status"); },
        [this] { log.push_back("station list"); },
        [this] { log.push_back("ap settings"); },
        [this] { log.push_back("more settings"); },
        [this] { log.push_back("connect"); },
        [this] { return wzcState; }};
  }
  void AnswerSurvey(const std::vector<SurveyEntryFields>& entries) {
    driver.Answer("WL_RetrieveSiteSurveyData", 0);
    driver.AnswerBytes("WL_RetrieveSiteSurveyData", SurveyBufferBytes(entries));
  }
  static std::vector<std::u16string> Column(Dialog& d, int column) {
    std::vector<std::u16string> texts;
    for (int row = 0; row < d.ListItemCount(id::List); ++row) {
      texts.push_back(d.ListItemText(id::List, row, column));
    }
    return texts;
  }
  // Starts a scan and ticks until its results are fetched.
  static void ScanToEnd(SiteSurvey& survey) {
    survey.StartSiteSurvey();
    for (int tick = 0; tick <= SiteSurvey::kScanWaitTicks; ++tick) survey.TickScan();
  }

  std::vector<std::string> log;
  int wzcState = 0;
};

TEST_F(SiteSurveyTest, ScanFetchesResultsOnTheFifthTick) {
  product.enableAccessPoint = 1;
  AnswerSurvey({Network("Campus", -52, 1), Network("Campus", -67, 2), Network("", -63, 3),
                Network("Caf\xE9", -70, 4)});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    survey.StartSiteSurvey();
    EXPECT_TRUE(survey.ScanPending());
    EXPECT_FALSE(d.IsEnabled(id::List));
    EXPECT_FALSE(d.IsEnabled(id::RefreshButton));
    EXPECT_FALSE(d.IsVisible(id::PanelButton));
    EXPECT_FALSE(d.IsEnabled(id::ModeBox));
    EXPECT_EQ(d.GetText(id::RefreshButton), u"Scanning......");
    EXPECT_EQ(d.GetText(id::ListTitle), u"Scanning Avaliable Network...");

    for (int tick = 1; tick <= SiteSurvey::kScanWaitTicks; ++tick) survey.TickScan();
    EXPECT_THAT(driver.Calls("WL_"), ElementsAre("WL_SiteSurveyStart()"));
    EXPECT_THAT(log, IsEmpty());

    survey.TickScan();
    EXPECT_THAT(driver.Calls("WL_"),
                ElementsAre("WL_SiteSurveyStart()", "WL_RetrieveSiteSurveyData(12004)"));
    EXPECT_FALSE(survey.ScanPending());
    EXPECT_THAT(log, ElementsAre("panel 0", "link status"));
    EXPECT_THAT(Column(d, 0), ElementsAre(u"Campus", u"Campus", u"", u"Caf\u00e9"));
    EXPECT_THAT(Column(d, 1), ElementsAre(u"81%", u"58%", u"64%", u"53%"));
    EXPECT_TRUE(d.IsEnabled(id::List));
    EXPECT_TRUE(d.IsEnabled(id::RefreshButton));
    EXPECT_TRUE(d.IsVisible(id::PanelButton));
    EXPECT_TRUE(d.IsEnabled(id::ModeBox));
    EXPECT_EQ(d.GetText(id::RefreshButton), u"Refresh");
    EXPECT_EQ(d.GetText(id::ListTitle), u"Avaliable Network:");
  });
}

TEST_F(SiteSurveyTest, RefreshDuringAScanStartsNothing) {
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    survey.OnRefresh();
    survey.TickScan();
    survey.OnRefresh();
    EXPECT_EQ(survey.ScanWaitTicks(), SiteSurvey::kScanWaitTicks - 1);
  });
  EXPECT_THAT(driver.Calls("WL_"), ElementsAre("WL_SiteSurveyStart()"));
}

TEST_F(SiteSurveyTest, FetchOutcomes) {
  const struct {
    const char* name;
    int result;
    int wzc, enableAccessPoint;
    bool listEnabled, refreshEnabled, panelButton, modeBox;
    std::vector<std::u16string> rows;
  } cases[] = {
      {"networks found", 0, 0, 0, true, true, true, false, {u"New"}},
      {"hand-over keeps the panel button hidden", 0, 1, 1, true, true, false, true, {u"New"}},
      {"nothing found", 0, 0, 1, false, true, true, true, {}},
      // The old list and buffer stay; list and Refresh keep their scanning state.
      {"fetch fails", -1, 0, 1, false, false, true, true, {u"Old"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    wzcState = c.wzc;
    product.enableAccessPoint = c.enableAccessPoint;
    RunInDialog([&](Dialog& d) {
      SiteSurvey survey(d, Services(), Actions());
      AnswerSurvey({Network("Old", -50, 1)});
      ScanToEnd(survey);
      if (c.rows.empty()) {
        AnswerSurvey({});
      } else {
        AnswerSurvey({Network("New", -50, 2)});
      }
      if (c.result == -1) {
        // The failing driver leaves garbage behind.
        driver.AnswerNext("WL_RetrieveSiteSurveyData", -1,
                          std::vector<std::uint8_t>(adapter::kSurveyBufferSize, 0xEE));
      }
      ScanToEnd(survey);
      EXPECT_EQ(Column(d, 0), c.rows);
      EXPECT_EQ(d.IsEnabled(id::List), c.listEnabled);
      EXPECT_EQ(d.IsEnabled(id::RefreshButton), c.refreshEnabled);
      EXPECT_EQ(d.IsVisible(id::PanelButton), c.panelButton);
      EXPECT_EQ(d.IsEnabled(id::ModeBox), c.modeBox);
      if (c.result == -1) {
        EXPECT_EQ(d.GetText(id::RefreshButton), u"Scanning......");
        ASSERT_TRUE(survey.SelectedEntry().has_value());
        EXPECT_EQ(survey.SelectedEntry()->bssid[5], 1);
      }
    });
  }
}

TEST_F(SiteSurveyTest, StrengthColumnInDbm) {
  product.showDbm = 1;
  AnswerSurvey({Network("A", -39, 1), Network("B", -110, 2)});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    ScanToEnd(survey);
    EXPECT_THAT(Column(d, 1), ElementsAre(u"-39 dBm", u"-110 dBm"));
  });
}

TEST_F(SiteSurveyTest, ClickShowsTheEntryUntilTheNinthTick) {
  SurveyEntryFields adhoc = Network("Peer", -65, 0x08);
  adhoc.infrastructureMode = 0;
  adhoc.frequencyKhz = 2'457'000;
  SurveyEntryFields secured = Network("Lab", -55, 0x02);
  secured.privacy = 1;
  secured.frequencyKhz = 5'180'000;
  SurveyEntryFields automatic = Network("Auto", -55, 0x0B);
  automatic.infrastructureMode = 2;
  automatic.frequencyKhz = 2'300'000;
  AnswerSurvey({adhoc, secured, automatic});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    ScanToEnd(survey);
    log.clear();

    const struct {
      int row;
      const char16_t* channel;
      const char16_t* type;
      const char16_t* wep;
      const char16_t* bssid;
    } rows[] = {
        {0, u"10", u"Ad-Hoc", u"Off", u"02 5A A0 00 00 08"},
        {1, u"36", u"Infrastructure", u"On", u"02 5A A0 00 00 02"},
        {2, u"Unknow", u"Unknown", u"Off", u"02 5A A0 00 00 0B"},
    };
    for (const auto& r : rows) {
      SCOPED_TRACE(r.row);
      d.UserSelect(id::List, r.row);
      EXPECT_EQ(survey.OnListClick(), 0);
      EXPECT_EQ(d.GetText(id::PanelValue1), r.channel);
      EXPECT_EQ(d.GetText(id::PanelValue2), r.type);
      EXPECT_EQ(d.GetText(id::PanelValue3), r.wep);
      EXPECT_EQ(d.GetText(id::PanelValue4), r.bssid);
    }
    EXPECT_TRUE(survey.SelectedView());
    EXPECT_THAT(log, ElementsAre("panel 1", "panel 1", "panel 1"));
    log.clear();

    for (int tick = 1; tick <= SiteSurvey::kSelectedViewTicks; ++tick) {
      EXPECT_FALSE(survey.TickSelectedView()) << tick;
    }
    EXPECT_THAT(log, IsEmpty());
    EXPECT_FALSE(survey.TickSelectedView());  // ninth tick: back to the current network
    EXPECT_THAT(log, ElementsAre("panel 0"));
    EXPECT_FALSE(survey.SelectedView());
    EXPECT_TRUE(survey.TickSelectedView());
  });
}

TEST_F(SiteSurveyTest, WithoutASelectionMarkTheFirstEntryIsShown) {
  AnswerSurvey({Network("First", -50, 0x21), Network("Second", -50, 0x22)});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    survey.ShowSelectedNetwork();  // no entries yet: nothing to show
    EXPECT_EQ(d.GetText(id::PanelValue4), u"");
    ScanToEnd(survey);
    survey.ShowSelectedNetwork();
    EXPECT_EQ(d.GetText(id::PanelValue4), u"02 5A A0 00 00 21");
  });
}

TEST_F(SiteSurveyTest, ANewScanEndsTheSelectedView) {
  AnswerSurvey({Network("A", -50, 1)});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    ScanToEnd(survey);
    d.UserSelect(id::List, 0);
    (void)survey.OnListClick();
    ScanToEnd(survey);
    EXPECT_FALSE(survey.SelectedView());
  });
}

TEST_F(SiteSurveyTest, HandlersRouteByModeAndView) {
  const struct {
    int mode;
    bool selected;
    std::vector<std::string> refresh, panelButton, doubleClick;
  } cases[] = {
      {config::kStationMode, false, {}, {"more settings"}, {"connect"}},
      {config::kStationMode, true, {}, {"connect"}, {"connect"}},
      {config::kAccessPointMode, false, {"station list"}, {"ap settings"}, {}},
  };
  AnswerSurvey({Network("A", -50, 1)});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode * 2 + c.selected);
    RunInDialog([&](Dialog& d) {
      SiteSurvey survey(d, Services(), Actions());
      ScanToEnd(survey);
      store.SetOperationMode(c.mode);
      if (c.selected) (void)survey.OnListClick();
      driver.ClearCalls();
      log.clear();
      survey.OnRefresh();
      if (c.mode == config::kStationMode) {
        // Station mode: Refresh starts a scan instead.
        EXPECT_THAT(driver.Calls("WL_"), ElementsAre("WL_SiteSurveyStart()"));
        survey.CancelScan();
      }
      EXPECT_EQ(log, c.refresh);
      log.clear();
      survey.OnPanelButton();
      EXPECT_EQ(log, c.panelButton);
      log.clear();
      EXPECT_EQ(survey.OnListDoubleClick(), 0);
      EXPECT_EQ(log, c.doubleClick);
    });
    store.SetOperationMode(config::kStationMode);
  }
}

TEST_F(SiteSurveyTest, ClicksAndIdleTextsOnlyInStationMode) {
  AnswerSurvey({Network("A", -50, 1)});
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, Services(), Actions());
    ScanToEnd(survey);
    store.SetOperationMode(config::kAccessPointMode);
    log.clear();
    EXPECT_EQ(survey.OnListClick(), 0);
    EXPECT_FALSE(survey.SelectedView());
    EXPECT_THAT(log, IsEmpty());
    d.SetText(id::RefreshButton, u"");
    survey.SetScanState(true);
    EXPECT_EQ(d.GetText(id::RefreshButton), u"");
    EXPECT_TRUE(d.IsEnabled(id::RefreshButton));
  });
  store.SetOperationMode(config::kStationMode);
}

TEST(ChannelFromFrequencyTest, Bands) {
  const struct {
    std::uint32_t khz;
    std::optional<int> channel;
  } cases[] = {
      {2'412'000, 1},  {2'437'000, 6},        {2'472'000, 13},      {2'484'000, 14},
      {2'411'999, {}}, {2'484'001, {}},       {4'920'000, 184},     {5'180'000, 36},
      {5'825'000, 165}, {5'999'999, 199},     {6'000'000, {}},      {0, {}},
      {0xFFFFFFFF, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ChannelFromFrequency(c.khz), c.channel) << c.khz;
}

}  // namespace
}  // namespace ui::testing
