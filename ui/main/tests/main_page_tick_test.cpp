// The order of work in one refresh tick, situation by situation.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::MainPageFixture;
using testing::ObservedMainPage;

struct TickCase {
  const char* name;
  bool adapter;  // a family adapter is plugged in before the window opens
  std::function<void(MainPageFixture&, ObservedMainPage&)> before;
  std::vector<std::string> calls;  // the library calls of the tick; its start when `prefixOnly`
  bool prefixOnly;
  std::vector<int> commands;  // commands the tick posted
  std::function<void(MainPageFixture&, ObservedMainPage&)> check;
};

void NoSetup(MainPageFixture&, ObservedMainPage&) {}
void NoCheck(MainPageFixture&, ObservedMainPage&) {}

// Makes the operating system's service take the adapter on one tick.
void WzcTakesOver(MainPageFixture& f, ObservedMainPage&) {
  f.driver.AnswerNext("QueryWL_CheckWZCStatus", 1);
  f.Tick();
}

const std::vector<TickCase>& TickCases() {
  static const std::vector<TickCase> cases = {
      {"exit request ends the tick and exits",
       true,
       [](MainPageFixture& f, ObservedMainPage&) { f.SetAppNumber(u"VUZOzaExit", 1); },
       {"SetWL_QVUseQVXOidState(0)"},  // from the Exit command once posted
       false,
       {command::Exit},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_EQ(f.AppNumber(u"VUZOzaExit"), 0);
         EXPECT_TRUE(p.Timers().empty());
       }},
      {"exit request is honoured while no adapter is open",
       false,
       [](MainPageFixture& f, ObservedMainPage&) { f.SetAppNumber(u"VUZOzaExit", 1); },
       {"SetWL_QVUseQVXOidState(0)"},
       false,
       {command::Exit},
       NoCheck},
      {"wake-up request with an adapter opens the window",
       true,
       [](MainPageFixture& f, ObservedMainPage&) { f.SetAppNumber(u"VUZOzaWakeUp", 1); },
       {"QueryWL_CheckWZCStatus()"},  // by the open command the tick posted
       false,
       {command::OpenUtilityWindow},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_EQ(f.AppNumber(u"VUZOzaWakeUp"), 0);
         EXPECT_TRUE(p.IsWindowVisible());
       }},
      {"wake-up request without an adapter is only consumed",
       false,
       [](MainPageFixture& f, ObservedMainPage&) { f.SetAppNumber(u"VUZOzaWakeUp", 1); },
       {},
       false,
       {},
       [](MainPageFixture& f, ObservedMainPage&) { EXPECT_EQ(f.AppNumber(u"VUZOzaWakeUp"), 0); }},
      {"no adapter: rediscovery and nothing else",
       false,
       NoSetup,
       {"Query_FixWindisPnPBug()", "CreateAllNICAdapterList(100)"},
       false,
       {},
       [](MainPageFixture&, ObservedMainPage& p) { EXPECT_EQ(p.AnimationFrame(), 0); }},
      {"adapter vanished",
       true,
       [](MainPageFixture& f, ObservedMainPage&) {
         f.driver.Answer("QueryWL_DriverVersion", -1);
         f.tray.events.clear();
       },
       {"QueryWL_DriverVersion()", "QvCloseAdapter()"},
       false,
       {},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_FALSE(p.AdapterOpen());
         EXPECT_THAT(f.tray.events, ElementsAre("remove"));
         EXPECT_EQ(f.current.handle.handle, adapter::kNoAdapterHandle);
       }},
      {"station: hand-over check, then the current network; the link waits for the scan",
       true,
       NoSetup,
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "QueryWL_ConnectState()",
        "QueryWL_NetworkType()", "QueryWL_Channel()", "QueryWL_CurrentLinkSpeed()",
        "QueryWL_WEPStatus()"},
       false,
       {},
       [](MainPageFixture&, ObservedMainPage& p) {
         EXPECT_EQ(p.AnimationFrame(), 1);
         EXPECT_EQ(p.Control(id::ActivityIcon)->icon, icon::ActivityFirst);
       }},
      {"access point: channel and frame counters",
       true,
       [](MainPageFixture& f, ObservedMainPage&) {
         f.store.SetOperationMode(config::kAccessPointMode);
         f.driver.Answer("QueryWL_Channel", 11);
         f.driver.AnswerFrameCounts(4000000000u, 17);
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "QueryWL_Channel()",
        "GetTxRxFrameCount()"},
       false,
       {},
       [](MainPageFixture&, ObservedMainPage& p) {
         EXPECT_EQ(p.GetText(id::PanelValue1), u"11");
         EXPECT_EQ(p.GetText(id::TxFrameText), u"4000000000");
         EXPECT_EQ(p.GetText(id::RxFrameText), u"17");
       }},
      {"access point: failed queries leave the texts alone",
       true,
       [](MainPageFixture& f, ObservedMainPage& p) {
         f.store.SetOperationMode(config::kAccessPointMode);
         p.SetText(id::PanelValue1, u"6");
         p.SetText(id::TxFrameText, u"5");
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "QueryWL_Channel()",
        "GetTxRxFrameCount()"},
       false,
       {},
       [](MainPageFixture&, ObservedMainPage& p) {
         EXPECT_EQ(p.GetText(id::PanelValue1), u"6");
         EXPECT_EQ(p.GetText(id::TxFrameText), u"5");
       }},
      {"WZC takes the adapter: tray icon 4, private requests off, tick ends",
       true,
       [](MainPageFixture& f, ObservedMainPage&) {
         f.driver.Answer("QueryWL_CheckWZCStatus", 1);
         f.tray.events.clear();
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "SetWL_QVUseQVXOidState(0)",
        "SetWL_QVUseQVXOidState(0)", "QueryWL_QVUseQVXOidState()"},
       false,
       {},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_EQ(p.WzcState(), 1);
         EXPECT_THAT(f.tray.events, ElementsAre("set 174"));
         EXPECT_EQ(f.tray.menu[2], u"Use Orvex Wireless Configuration");
         EXPECT_FALSE(p.IsWindowVisible());
         EXPECT_EQ(p.AnimationFrame(), 0);
       }},
      {"WZC keeps the adapter: nothing after the check",
       true,
       [](MainPageFixture& f, ObservedMainPage& p) {
         WzcTakesOver(f, p);
         f.driver.Answer("QueryWL_CheckWZCStatus", 1);
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()"},
       false,
       {},
       [](MainPageFixture&, ObservedMainPage& p) { EXPECT_EQ(p.AnimationFrame(), 0); }},
      {"WZC lets go (0): private requests back on and the configuration restored",
       true,
       [](MainPageFixture& f, ObservedMainPage& p) {
         f.product.qvxOidMode = 3;
         WzcTakesOver(f, p);
         f.driver.Answer("QueryWL_CheckWZCStatus", 0);
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "SetWL_QVUseQVXOidState(3)",
        "SetWL_QVUseQVXOidState(3)", "QueryWL_QVUseQVXOidState()"},
       true,
       {},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_EQ(p.WzcState(), 0);
         EXPECT_EQ(f.tray.menu[2], u"Use Microsoft Wireless Zero Configuration");
         EXPECT_FALSE(f.driver.Calls("SetWL_SSID").empty()) << "configuration restored";
         EXPECT_EQ(p.AnimationFrame(), 1) << "polling goes on in the same tick";
       }},
      {"WZC lets go (2): the configuration restored",
       true,
       [](MainPageFixture& f, ObservedMainPage& p) {
         WzcTakesOver(f, p);
         f.driver.Answer("QueryWL_CheckWZCStatus", 2);
       },
       {"QueryWL_DriverVersion()", "QueryWL_CheckWZCStatus()", "SetWL_QVUseQVXOidState(0)"},
       true,
       {},
       [](MainPageFixture& f, ObservedMainPage& p) {
         EXPECT_EQ(p.WzcState(), 2);
         EXPECT_FALSE(f.driver.Calls("SetWL_SSID").empty()) << "configuration restored";
       }},
  };
  return cases;
}

TEST(MainPageTick, OrderOfWorkBySituation) {
  for (const TickCase& c : TickCases()) {
    SCOPED_TRACE(c.name);
    MainPageFixture f;
    if (c.adapter) f.PlugAdapter();
    f.Run([&](ObservedMainPage& p) {
      ASSERT_EQ(p.AdapterOpen(), c.adapter);
      c.before(f, p);
      const std::vector<std::string> calls = f.CallsOfTick();
      if (c.prefixOnly) {
        ASSERT_GE(calls.size(), c.calls.size());
        EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + c.calls.size()),
                    ElementsAreArray(c.calls));
      } else {
        EXPECT_THAT(calls, ElementsAreArray(c.calls));
      }
      EXPECT_THAT(p.commands, ElementsAreArray(c.commands));
      c.check(f, p);
    });
  }
}

TEST(MainPageTick, ExitCommandEndsTheWindowWithZeroAndStopsTheBluetoothUtility) {
  MainPageFixture f;
  f.PlugAdapter();
  std::vector<int> exitCodes;
  f.bluetooth = std::make_unique<testing::RecordingProcess>(exitCodes);
  const int result = f.Run([&](ObservedMainPage&) {
    f.SetAppNumber(u"VUZOzaExit", 1);
    f.Tick();
  });
  EXPECT_EQ(result, 0);
  EXPECT_THAT(exitCodes, ElementsAre(0));
  EXPECT_EQ(f.bluetooth, nullptr);
}

TEST(MainPageTick, PciAdapterWaitsTwentyTicksBeforeItIsOpened) {
  MainPageFixture f;
  f.PlugAdapter(testing::kPciFamilyId);
  f.driver.Answer("Query_FixWindisPnPBug", 1);
  f.Run([&](ObservedMainPage& p) {
    ASSERT_EQ(p.Discovery().PnpWaitState(), adapter::AdapterDiscovery::PnpWait::Waiting);
    f.driver.ClearCalls();
    for (int tick = 1; tick < adapter::AdapterDiscovery::kPnpWaitTicks; ++tick) {
      f.Tick();
      ASSERT_FALSE(p.AdapterOpen()) << "tick " << tick;
    }
    EXPECT_TRUE(f.driver.Calls("CreateAllNICAdapterList").empty()) << "no discovery while waiting";
    f.Tick();
    EXPECT_TRUE(p.AdapterOpen());
    EXPECT_EQ(p.AnimationFrame(), 1) << "the tick that opens the adapter goes on polling";
  });
}

TEST(MainPageTick, AdapterPluggedInLaterIsFoundOnTheNextTick) {
  MainPageFixture f;
  f.Run([&](ObservedMainPage& p) {
    f.Tick();
    ASSERT_FALSE(p.AdapterOpen());
    f.PlugAdapter();
    f.Tick();
    EXPECT_TRUE(p.AdapterOpen());
  });
}

TEST(MainPageTick, UnpluggingWithADialogOpenClosesItAndHidesTheWindow) {
  MainPageFixture f;
  f.PlugAdapter();
  constexpr int kChildTemplate = 9310;
  platform::window::DialogTemplate t;
  t.id = kChildTemplate;
  t.width = 100;
  t.height = 50;
  platform::window::TemplateRegistry::Instance().Add(t);

  int childResult = -1;
  bool mainVisible = true;
  f.Run([&](ObservedMainPage& p) {
    p.ShowWindow(true);
    platform::window::Dialog child(kChildTemplate);
    f.session.driver.OnOpen(kChildTemplate, [&](platform::window::Dialog& c) {
      DialogChain::Registration registration(f.chain, dialog_number::MoreSettings, c,
                                             dialog_number::Main);
      f.driver.Answer("QueryWL_DriverVersion", -1);
      f.Tick();
    });
    childResult = child.DoModal();
    mainVisible = p.IsWindowVisible();
  });
  EXPECT_EQ(childResult, 0);
  EXPECT_FALSE(mainVisible);
  EXPECT_FALSE(f.tray.shown);
}

struct DelayedCase {
  int delayTicks;
  int ownClientRun;  // -1: absent
  int firesOnTick;
  const char* call;
};

TEST(MainPageTick, DelayedServiceChoiceFiresOnceAfterItsTicks) {
  const DelayedCase cases[] = {
      {3, -1, 3, "QVStartWZCService()"},
      {3, 0, 3, "QVStartWZCService()"},
      {2, 1, 2, "QVStopWZCService()"},
      {0, 1, 1, "QVStopWZCService()"},
      {-4, 0, 1, "QVStartWZCService()"},
  };
  for (const DelayedCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.delayTicks) + " ticks, client " +
                 std::to_string(c.ownClientRun));
    MainPageFixture f;
    if (c.ownClientRun >= 0) (void)f.store.WriteAppNumber(u"OrvexClientRun", c.ownClientRun);
    f.Run(
        [&](ObservedMainPage&) {
          for (int tick = 1; tick <= c.firesOnTick + 2; ++tick) {
            f.driver.ClearCalls();
            f.Tick();
            const bool fired = !f.driver.Calls("QV").empty();
            EXPECT_EQ(fired, tick == c.firesOnTick) << "tick " << tick;
            if (fired) {
              EXPECT_THAT(f.driver.Calls("QV"), ElementsAre(c.call));
            }
          }
        },
        DelayedServiceChoice{true, c.delayTicks});
  }
}

TEST(MainPageTick, DelayedServiceChoiceSkipsTicksWithARequest) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run(
      [&](ObservedMainPage&) {
        f.SetAppNumber(u"VUZOzaWakeUp", 1);
        f.Tick();  // consumed by the request: not counted
        EXPECT_TRUE(f.driver.Calls("QVStartWZCService").empty());
        f.Tick();
        EXPECT_TRUE(f.driver.Calls("QVStartWZCService").empty());
        f.Tick();
        EXPECT_EQ(f.driver.Calls("QVStartWZCService").size(), 1u);
      },
      DelayedServiceChoice{true, 2});
}

TEST(MainPageTick, StartHiddenKeepsTheWindowHiddenOnEveryTick) {
  MainPageFixture f;
  f.startHidden = true;
  f.Run([&](ObservedMainPage& p) {
    p.ShowWindow(true);
    f.Tick();
    EXPECT_FALSE(p.IsWindowVisible());
    f.startHidden = false;
    p.ShowWindow(true);
    f.Tick();
    EXPECT_TRUE(p.IsWindowVisible());
  });
}

TEST(MainPageTick, ScanResultsAreFetchedAfterTheWaitTicks) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage& p) {
    // Selecting the adapter started a scan; an entry clicked meanwhile is dropped with it.
    ASSERT_TRUE(p.ScanPending());
    (void)p.OnNotify(id::List, platform::window::ListEvent::Click, 0);
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Selected Network Information");
    for (int tick = 0; tick < SiteSurvey::kScanWaitTicks; ++tick) f.Tick();
    EXPECT_TRUE(p.ScanPending());
    EXPECT_TRUE(f.driver.Calls("WL_RetrieveSiteSurveyData").empty());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Selected Network Information");
    f.Tick();
    EXPECT_FALSE(p.ScanPending());
    EXPECT_EQ(f.driver.Calls("WL_RetrieveSiteSurveyData").size(), 1u);
    EXPECT_FALSE(p.SelectedView());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Current Network Information");
  });
}

TEST(MainPageTick, SelectedViewReturnsToTheCurrentNetworkWhenItsTicksRunOut) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage& p) {
    while (p.ScanPending()) f.Tick();
    (void)p.OnNotify(id::List, platform::window::ListEvent::Click, 0);
    for (int tick = 0; tick < SiteSurvey::kSelectedViewTicks; ++tick) f.Tick();
    EXPECT_TRUE(p.SelectedView());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Selected Network Information");
    f.Tick();
    EXPECT_FALSE(p.SelectedView());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Current Network Information");
  });
}

TEST(MainPageTick, RefreshPeriodComesFromTheProductFile) {
  for (const auto& [configured, expected] :
       std::vector<std::pair<int, int>>{{1000, 1000}, {500, 500}, {0, 1000}, {-20, 1000}}) {
    MainPageFixture f;
    f.product.mainPageUpdateTimeMs = configured;
    f.Run([&](ObservedMainPage& p) {
      ASSERT_EQ(p.Timers().count(kRefreshTimer), 1u);
      EXPECT_EQ(p.Timers().at(kRefreshTimer).count(), expected) << configured;
    });
  }
}

}  // namespace
}  // namespace ui
