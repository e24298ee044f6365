// The main window on the simulated adapter library, loaded as the program loads it, with the
// SQLite registry store the library seeds and a virtual clock.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ui/main/tests/simulated_main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using testing::ObservedMainPage;
using testing::RecordingTray;
using ::testing::ElementsAre;

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

class MainPageSimulatedTest : public testing::SimulatedMainPageTest {
 protected:
  // `builtInWorld`: the library's own scenario instead of the single adapter above.
  explicit MainPageSimulatedTest(bool builtInWorld = false)
      : SimulatedMainPageTest(builtInWorld ? "" : kScenario) {}
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
    // The scan started at the selection has been listed.
    EXPECT_FALSE(p.ScanPending());
    EXPECT_EQ(p.GetText(id::ListTitle), u"Avaliable Network:");
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

class MainPageBuiltInWorldTest : public MainPageSimulatedTest {
 protected:
  MainPageBuiltInWorldTest() : MainPageSimulatedTest(true) {}
};

int Percent(const std::u16string& text) {
  const std::string narrow(text.begin(), text.end());
  return std::atoi(narrow.c_str());
}

unsigned long Count(const std::u16string& text) {
  const std::string narrow(text.begin(), text.end());
  return std::strtoul(narrow.c_str(), nullptr, 10);
}

// With no stored settings the adapter joins the strongest open network; the link area follows the
// association tick by tick and the scan started at the adapter's selection fills the list.
TEST_F(MainPageBuiltInWorldTest, JoinsTheStrongestOpenNetworkAndShowsTheLinkAndTheSurvey) {
  ASSERT_EQ(simulated_.error, "");
  ASSERT_NE(store_, nullptr);
  Run([&](ObservedMainPage& p) {
    ASSERT_TRUE(p.AdapterOpen());
    ASSERT_TRUE(p.ScanPending());
    EXPECT_EQ(p.ListItemCount(id::List), 0);

    struct Sample {
      std::u16string status;
      int signal, quality, signalBar, qualityBar;
      unsigned long sent, received;
    };
    std::vector<Sample> samples;
    for (int tick = 0; tick < 10; ++tick) {
      Tick();
      samples.push_back({p.GetText(id::LinkStatusText), Percent(p.GetText(id::SignalText)),
                         Percent(p.GetText(id::QualityText)), p.Control(id::SignalBar)->position,
                         p.Control(id::QualityBar)->position, Count(p.GetText(id::TxFrameText)),
                         Count(p.GetText(id::RxFrameText))});
    }
    // The link area stays empty while the first scan runs and fills in the tick that lists it.
    const std::size_t listed = SiteSurvey::kScanWaitTicks;
    for (std::size_t tick = 0; tick < listed; ++tick) {
      SCOPED_TRACE(tick);
      EXPECT_EQ(samples[tick].status, u"");
      EXPECT_EQ(samples[tick].signalBar, 0);
    }
    EXPECT_EQ(p.GetText(id::PanelValue3), u"Harbor-Open");
    for (std::size_t tick = listed; tick < samples.size(); ++tick) {
      SCOPED_TRACE(tick);
      const Sample& now = samples[tick];
      EXPECT_EQ(now.status, u"Connected to Access Point.");
      EXPECT_GT(now.signal, 50);
      EXPECT_GT(now.quality, 50);
      EXPECT_EQ(now.signalBar, now.signal);
      EXPECT_EQ(now.qualityBar, now.quality);
      if (tick == listed) continue;
      const Sample& before = samples[tick - 1];
      EXPECT_GT(now.sent, before.sent);
      EXPECT_GT(now.received, before.received);
    }
    // Traffic on every tick: the tray icon alternates between the two connected pictures.
    const int pictureA = icon::Tray[LinkStatusView::kTrayConnectedA];
    const int pictureB = icon::Tray[LinkStatusView::kTrayConnectedB];
    ASSERT_TRUE(tray_.icon == pictureA || tray_.icon == pictureB);
    const int previous = tray_.icon;
    Tick();
    EXPECT_EQ(tray_.icon, previous == pictureA ? pictureB : pictureA);

    // The scan's results, in the driver's order.
    EXPECT_FALSE(p.ScanPending());
    std::vector<std::u16string> ssids;
    for (int row = 0; row < p.ListItemCount(id::List); ++row) {
      ssids.push_back(p.ListItemText(id::List, row, 0));
    }
    EXPECT_THAT(ssids, ElementsAre(u"Harbor-Open", u"Lab-WEP64", u"Lab-WEP128", u"Cafe-WPA-TKIP",
                                   u"Home-WPA2", u"Office-Mixed", u"Corp-Enterprise",
                                   u"Peer-AdHoc", u"", u"Far-Away", u"Caf\u00e9", u"Campus",
                                   u"Campus"));
    EXPECT_TRUE(p.IsEnabled(id::List));
    EXPECT_TRUE(p.IsEnabled(id::RefreshButton));

    // A click on an entry shows it in the panel; "Refresh" starts the next scan.
    p.ShowWindow(true);
    p.UserSelect(id::List, 4);
    EXPECT_TRUE(p.SelectedView());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Selected Network Information");
    EXPECT_EQ(p.GetText(id::PanelValue4), u"02 5A A0 00 00 05");
    p.UserClick(id::RefreshButton);
    EXPECT_TRUE(p.ScanPending());
    EXPECT_FALSE(p.IsEnabled(id::List));
  });
}

}  // namespace
}  // namespace ui
