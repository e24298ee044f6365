// The network list and the selected entry from a scan of the simulated adapter's built-in world,
// loaded as the program loads the library, on a virtual clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "adapter/testing/simulated_adapter.h"
#include "platform/registry/tests/temp_dir.h"
#include "ui/main/link_status_view.h"
#include "ui/main/site_survey.h"
#include "ui/main/tests/station_panel_fixture.h"

namespace ui::testing {
namespace {

using ::testing::ElementsAre;

class SiteSurveySimulatedTest : public StationPanelTest {
 protected:
  void SetUp() override {
    StationPanelTest::SetUp();
    simulated_ = adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir_.path(), {},
                                                        clock);
    ASSERT_EQ(simulated_.error, "");
  }
  StationPanelServices SimulatedServices() {
    StationPanelServices services = Services();
    return StationPanelServices{*simulated_.library, simulated_.handle,     services.store,
                                services.language,   services.product,      services.wasDisconnected,
                                services.renewAddresses, services.showTrayIcon};
  }
  // Starts a scan and runs one-second ticks until its results are listed.
  void Scan(SiteSurvey& survey) {
    survey.OnRefresh();
    while (survey.ScanPending()) {
      clock.Advance(std::chrono::milliseconds(1000));
      survey.TickScan();
    }
  }

  platform::testing::TempDir dir_;
  adapter::testing::SimulatedAdapter simulated_;
};

TEST_F(SiteSurveySimulatedTest, ListsEveryAccessPointInDriverOrder) {
  RunInDialog([&](Dialog& d) {
    SiteSurvey survey(d, SimulatedServices(), SiteSurveyActions{});
    Scan(survey);
    std::vector<std::u16string> ssids, strengths;
    for (int row = 0; row < d.ListItemCount(id::List); ++row) {
      ssids.push_back(d.ListItemText(id::List, row, 0));
      strengths.push_back(d.ListItemText(id::List, row, 1));
    }
    EXPECT_THAT(ssids, ElementsAre(u"Harbor-Open", u"Lab-WEP64", u"Lab-WEP128", u"Cafe-WPA-TKIP",
                                   u"Home-WPA2", u"Office-Mixed", u"Corp-Enterprise",
                                   u"Peer-AdHoc", u"", u"Far-Away", u"Caf\u00e9", u"Campus",
                                   u"Campus"));
    // The world's signals drift a little around their scenario values (-48 and -95 dBm).
    const std::vector<adapter::SurveyEntry> entries = adapter::ReadSurveyList(survey.SurveyBuffer());
    ASSERT_EQ(entries.size(), strengths.size());
    EXPECT_NEAR(entries[0].signalDbm, -48, 6);
    EXPECT_NEAR(entries[9].signalDbm, -95, 12);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(strengths[i], ListStrengthText(entries[i].signalDbm, false)) << i;
    }
    EXPECT_TRUE(d.IsEnabled(id::List));

    const struct {
      int row;
      const char16_t* channel;
      const char16_t* type;
      const char16_t* wep;
      const char16_t* bssid;
    } rows[] = {
        {0, u"1", u"Infrastructure", u"Off", u"02 5A A0 00 00 01"},
        {4, u"9", u"Infrastructure", u"On", u"02 5A A0 00 00 05"},
        {7, u"10", u"Ad-Hoc", u"Off", u"02 5A A0 00 00 08"},
        {12, u"11", u"Infrastructure", u"Off", u"02 5A A0 00 00 0D"},
    };
    for (const auto& r : rows) {
      SCOPED_TRACE(r.row);
      d.UserSelect(id::List, r.row);
      (void)survey.OnListClick();
      EXPECT_EQ(d.GetText(id::PanelValue1), r.channel);
      EXPECT_EQ(d.GetText(id::PanelValue2), r.type);
      EXPECT_EQ(d.GetText(id::PanelValue3), r.wep);
      EXPECT_EQ(d.GetText(id::PanelValue4), r.bssid);
    }

    // Where the fuzz target's seed comes from: VZ_DUMP_SURVEY names a file for the raw buffer.
    if (const char* dump = std::getenv("VZ_DUMP_SURVEY")) {
      const auto bytes = survey.SurveyBuffer();
      std::ofstream(dump, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
  });
}

}  // namespace
}  // namespace ui::testing
