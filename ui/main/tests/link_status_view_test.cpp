// Link status texts, the six-tick signal and quality averages, the "Connecting..." dots, the
// frame counters and the tray icon animation.
#include "ui/main/link_status_view.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "platform/text/text.h"
#include "ui/main/tests/station_panel_fixture.h"

namespace ui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kFail = -1;

class LinkStatusViewTest : public StationPanelTest {
 protected:
  void Connected(int networkType = 1) {
    driver.Answer("QueryWL_ConnectState", 0);
    driver.Answer("QueryWL_NetworkType", networkType);
  }
  void NotConnected(int networkType = 1) {
    driver.Answer("QueryWL_ConnectState", 1);
    driver.Answer("QueryWL_NetworkType", networkType);
  }
};

struct AverageCase {
  const char* name;
  std::vector<int> signals;    // one per tick; kFail for a failed reading
  std::vector<int> qualities;  // as many as signals
  const char16_t* signalText;
  const char16_t* qualityText;
};

TEST_F(LinkStatusViewTest, AveragesTheLastSixTicksInWholeNumbers) {
  const AverageCase cases[] = {
      {"mean of three", {-60, -61, -62}, {40, 41, 43}, u"67%", u"41%"},
      {"above the maximum held at it", {-30}, {150}, u"100%", u"100%"},
      {"below the minimum held at it", {-120}, {-5}, u"0%", u"0%"},
      // The seventh reading replaces the first.
      {"ring wraps", {-105, -40, -40, -40, -40, -40, -40}, {0, 90, 90, 90, 90, 90, 90},
       u"100%", u"90%"},
      // A failed reading keeps its slot: the -40 of six ticks ago stays in the sum.
      {"failure keeps the old slot", {-40, -50, -50, -50, -50, -50, kFail},
       {100, 50, 50, 50, 50, 50, kFail}, u"87%", u"58%"},
      // A failed reading still counts: slot 1 is empty, so the mean is -60 / 2 = -30 dBm,
      // above the strongest signal; the text is held at 100% like the bar.
      {"failure counts", {-60, kFail}, {60, kFail}, u"100%", u"30%"},
  };
  for (const AverageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Connected();
    for (std::size_t i = 0; i < c.signals.size(); ++i) {
      driver.AnswerNext("QueryWL_RSSI", c.signals[i]);
      driver.AnswerNext("QueryWL_CommQuality", c.qualities[i]);
    }
    RunInDialog([&](Dialog& d) {
      LinkStatusView view(d, Services());
      for (std::size_t i = 0; i < c.signals.size(); ++i) view.RefreshLinkStatus(false);
      EXPECT_EQ(d.GetText(id::SignalText), c.signalText);
      EXPECT_EQ(d.GetText(id::QualityText), c.qualityText);
      EXPECT_EQ(platform::Format(u"%d%%", d.Control(id::SignalBar)->position), c.signalText);
      EXPECT_EQ(platform::Format(u"%d%%", d.Control(id::QualityBar)->position), c.qualityText);
      EXPECT_EQ(view.SampleCount(), std::min<int>(static_cast<int>(c.signals.size()), 6));
    });
  }
}

TEST_F(LinkStatusViewTest, ReadingsAreStoredClamped) {
  Connected();
  driver.AnswerNext("QueryWL_RSSI", -30);
  driver.AnswerNext("QueryWL_CommQuality", 150);
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    view.RefreshLinkStatus(false);
    EXPECT_EQ(view.SignalRing()[0], -40);
    EXPECT_EQ(view.QualityRing()[0], 100);
    EXPECT_EQ(view.RingIndex(), 1);
  });
}

TEST_F(LinkStatusViewTest, EqualBoundsShowZeroPercent) {
  product.strengthMinDb = product.strengthMaxDb = -60;
  product.qualityMin = product.qualityMax = 50;
  Connected();
  driver.Answer("QueryWL_RSSI", -60);
  driver.Answer("QueryWL_CommQuality", 50);
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    view.RefreshLinkStatus(false);
    EXPECT_EQ(d.GetText(id::SignalText), u"0%");
    EXPECT_EQ(d.GetText(id::QualityText), u"0%");
  });
}

TEST_F(LinkStatusViewTest, ExtremeProductBoundsStayInRange) {
  product.strengthMinDb = -2'000'000'000;
  product.strengthMaxDb = 2'000'000'000;
  Connected();
  driver.Answer("QueryWL_RSSI", 2'000'000'000);
  driver.Answer("QueryWL_CommQuality", 0);
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    for (int i = 0; i < 6; ++i) view.RefreshLinkStatus(false);
    EXPECT_EQ(d.GetText(id::SignalText), u"100%");
  });
}

struct StatusCase {
  const char* name;
  int connectState, networkType, showBssid, pseudoIbss;
  bool bssidReadable;
  const char16_t* status;
};

TEST_F(LinkStatusViewTest, StatusTextByStateAndType) {
  const StatusCase cases[] = {
      {"access point", 0, 1, 0, 1, true, u"Connected to Access Point."},
      {"access point with BSSID", 0, 1, 1, 1, true,
       u"Connected to Access Point. BSSID=02 5A A0 00 00 0C"},
      {"ad hoc with BSSID", 0, 0, 1, 1, true, u"Connected to Ad-Hoc. BSSID=02 5A A0 00 00 0C"},
      {"unreadable BSSID", 0, 1, 1, 1, false, u"Connected to Access Point. BSSID=00 00 00 00 00 00"},
      {"pseudo IBSS supported", 0, 3, 0, 1, true, u"Connected to Pseudo IBSS."},
      {"pseudo IBSS not supported", 0, 3, 1, 0, true, u"Unknown"},
      {"WDS never gets the BSSID", 0, 2, 1, 1, true, u"Unknown"},
      {"in ad hoc mode", 1, 0, 1, 1, true, u"In Ad-Hoc Mode."},
      {"connecting", 1, 1, 1, 1, true, u"Connecting..."},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    product.showBssid = c.showBssid;
    product.pseudoIbssSupport = c.pseudoIbss;
    driver.Answer("QueryWL_ConnectState", c.connectState);
    driver.Answer("QueryWL_NetworkType", c.networkType);
    driver.Answer("QueryWL_BSSID", c.bssidReadable ? 0 : -1);
    driver.AnswerBytes("QueryWL_BSSID", {0x02, 0x5A, 0xA0, 0x00, 0x00, 0x0C});
    RunInDialog([&](Dialog& d) {
      LinkStatusView view(d, Services());
      view.RefreshLinkStatus(false);
      EXPECT_EQ(d.GetText(id::LinkStatusText), c.status);
    });
  }
}

TEST_F(LinkStatusViewTest, FailedOrUnexpectedStateChangesNothing) {
  const int states[][2] = {{-1, 1}, {0, -1}, {2, 1}};
  for (const auto& s : states) {
    driver.Answer("QueryWL_ConnectState", s[0]);
    driver.Answer("QueryWL_NetworkType", s[1]);
    driver.ClearCalls();
    RunInDialog([&](Dialog& d) {
      d.SetText(id::LinkStatusText, u"before");
      LinkStatusView view(d, Services());
      view.RefreshLinkStatus(false);
      EXPECT_EQ(d.GetText(id::LinkStatusText), u"before");
      EXPECT_TRUE(d.IsVisible(id::SignalBar));
    });
    EXPECT_THAT(driver.Calls(), ElementsAre("QueryWL_ConnectState()", "QueryWL_NetworkType()"));
    EXPECT_THAT(trayIcons, IsEmpty());
  }
}

TEST_F(LinkStatusViewTest, NothingWhileAScanIsPending) {
  Connected();
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    view.RefreshLinkStatus(true);
  });
  EXPECT_THAT(driver.Calls(), IsEmpty());
}

TEST_F(LinkStatusViewTest, ConnectingDotsRunInACycleOfNineteen) {
  NotConnected();
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    std::vector<std::u16string> shown;
    for (int tick = 1; tick <= 21; ++tick) {
      view.RefreshLinkStatus(false);
      shown.push_back(d.GetText(id::LinkStatusText));
    }
    auto connecting = [](int groups) {
      std::u16string text = u"Connecting...";
      for (int i = 0; i < groups; ++i) text += u"...";
      return text;
    };
    EXPECT_EQ(shown[0], connecting(0));
    EXPECT_EQ(shown[8], connecting(8));    // ninth tick
    EXPECT_EQ(shown[18], connecting(18));  // nineteenth tick
    EXPECT_EQ(shown[19], connecting(0));   // twentieth tick starts again
    EXPECT_EQ(shown[20], connecting(1));

    // Association restarts the dots.
    Connected();
    view.RefreshLinkStatus(false);
    NotConnected();
    view.RefreshLinkStatus(false);
    EXPECT_EQ(d.GetText(id::LinkStatusText), connecting(0));

    // So does the window when it finds an adapter again.
    view.RefreshLinkStatus(false);
    view.ClearConnectingDots();
    view.RefreshLinkStatus(false);
    EXPECT_EQ(d.GetText(id::LinkStatusText), connecting(0));

    view.ShowDisconnecting();
    EXPECT_EQ(d.GetText(id::LinkStatusText), u"Disconnecting...");
  });
}

TEST_F(LinkStatusViewTest, DisconnectionHidesTheBarsAndCountersAndRestartsTheAverage) {
  Connected();
  driver.Answer("QueryWL_RSSI", -50);
  driver.Answer("QueryWL_CommQuality", 80);
  driver.AnswerFrameCounts(4294967295u, 12);
  const int rows[] = {id::SignalLabel, id::SignalText, id::SignalBar, id::QualityLabel,
                      id::QualityText, id::QualityBar, id::TxFrameLabel, id::TxFrameText,
                      id::RxFrameLabel, id::RxFrameText};
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    view.RefreshLinkStatus(false);
    view.RefreshLinkStatus(false);
    for (int c : rows) EXPECT_TRUE(d.IsVisible(c)) << c;
    EXPECT_EQ(d.GetText(id::TxFrameText), u"4294967295");
    EXPECT_EQ(d.GetText(id::RxFrameText), u"12");
    EXPECT_EQ(view.SampleCount(), 2);

    NotConnected();
    view.RefreshLinkStatus(false);
    for (int c : rows) EXPECT_FALSE(d.IsVisible(c)) << c;
    EXPECT_EQ(view.SampleCount(), 0);
    EXPECT_EQ(view.SignalRing()[0], 0);
    EXPECT_EQ(wasDisconnected.load(), 1);

    // A failed quality reading hides the quality row for that tick only.
    Connected();
    driver.AnswerNext("QueryWL_CommQuality", -1);
    view.RefreshLinkStatus(false);
    EXPECT_TRUE(d.IsVisible(id::SignalBar));
    EXPECT_FALSE(d.IsVisible(id::QualityBar));
    view.RefreshLinkStatus(false);
    EXPECT_TRUE(d.IsVisible(id::QualityBar));

    // A failed frame count keeps the texts.
    driver.AnswerNext("GetTxRxFrameCount", -1);
    view.RefreshLinkStatus(false);
    EXPECT_EQ(d.GetText(id::RxFrameText), u"12");
  });
}

TEST_F(LinkStatusViewTest, ReconnectionOnTheOlderSystemFamilyRenewsAddressesOnce) {
  for (int older : {0, 1}) {
    SCOPED_TRACE(older);
    driver.Answer("QueryWL_IsWindows95", older);
    renewals = 0;
    wasDisconnected = 0;
    RunInDialog([&](Dialog& d) {
      LinkStatusView view(d, Services());
      NotConnected();
      view.RefreshLinkStatus(false);
      Connected();
      view.RefreshLinkStatus(false);
      view.RefreshLinkStatus(false);
    });
    EXPECT_EQ(renewals, older);
    EXPECT_EQ(wasDisconnected.load(), older ? 0 : 1);
  }
}

TEST_F(LinkStatusViewTest, TrayIconFollowsTrafficWhenAnimated) {
  Connected();
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    driver.AnswerFrameCounts(10, 10);
    view.RefreshLinkStatus(false);  // from "not connected": icon 0
    view.RefreshLinkStatus(false);  // no traffic: stays
    EXPECT_TRUE(view.IdleRate());
    driver.AnswerFrameCounts(10, 30);
    view.RefreshLinkStatus(false);  // received traffic: icon 1
    driver.AnswerFrameCounts(40, 30);
    view.RefreshLinkStatus(false);  // sent traffic: icon 0
    NotConnected();
    view.RefreshLinkStatus(false);  // icon 2
    view.RefreshLinkStatus(false);  // unchanged: not shown again
    EXPECT_EQ(view.TrayIconIndex(), 2);
  });
  EXPECT_THAT(trayIcons, ElementsAre(0, 1, 0, 2));
}

TEST_F(LinkStatusViewTest, TrayIconNeverChangesWithoutAnimation) {
  product.trayIconAnimation = 0;
  Connected();
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    driver.AnswerFrameCounts(10, 10);
    view.RefreshLinkStatus(false);
    driver.AnswerFrameCounts(50, 10);
    view.RefreshLinkStatus(false);
    NotConnected();
    view.RefreshLinkStatus(false);
    EXPECT_FALSE(view.IdleRate());
  });
  EXPECT_THAT(trayIcons, IsEmpty());
}

TEST_F(LinkStatusViewTest, IdleRateWhenFewFramesWereSent) {
  product.txRateShowMaxLimit = 5;
  Connected();
  struct Step {
    std::uint32_t sent;
    bool idle;
  };
  // The limit counts from the transmit count of the last icon change.
  const Step steps[] = {{100, false}, {105, true}, {111, false}, {116, true}};
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    driver.AnswerFrameCounts(0, 0);
    view.RefreshLinkStatus(false);
    (void)view.TakeIdleRate();
    for (const Step& s : steps) {
      SCOPED_TRACE(s.sent);
      driver.AnswerFrameCounts(s.sent, 0);
      view.RefreshLinkStatus(false);
      EXPECT_EQ(view.TakeIdleRate(), s.idle);
      EXPECT_FALSE(view.IdleRate());
    }
  });
}

TEST_F(LinkStatusViewTest, ShowTrayIconSetsBothIndexes) {
  RunInDialog([&](Dialog& d) {
    LinkStatusView view(d, Services());
    view.ShowTrayIcon(4);
    EXPECT_EQ(view.TrayIconIndex(), 4);
    // Back in station mode without a link: index 2 differs from 4 and is shown.
    NotConnected();
    view.RefreshLinkStatus(false);
  });
  EXPECT_THAT(trayIcons, ElementsAre(4, 2));
}

TEST(ListStrengthTextTest, PercentOfFixedBoundsOrDbm) {
  const struct {
    int dBm;
    bool showDbm;
    const char16_t* text;
  } cases[] = {
      {-39, false, u"100%"}, {-40, false, u"100%"}, {-72, false, u"50%"},
      {-105, false, u"0%"},  {-110, false, u"0%"},  {-72, true, u"-72 dBm"},
      {-110, true, u"-110 dBm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListStrengthText(c.dBm, c.showDbm), c.text) << c.dBm << " " << c.showDbm;
  }
}

}  // namespace
}  // namespace ui::testing
