// The main window's texts, layouts, keys, system commands and life.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/instance_titles.h"
#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

using namespace main_page;
using platform::window::ScClose;
using platform::window::ScMinimize;
using ::testing::ElementsAre;
using testing::MainPageFixture;
using testing::ObservedMainPage;

struct CaptionCase {
  const char* chipMode;
  int infoResult;
  std::uint32_t chipCode;
  std::u16string caption;
};

TEST(MainPageWindow, CaptionIsTheTitleASecondStartLooksFor) {
  // Whatever the driver reports about its chip: a caption other than the start-up title would
  // let a second start take the running instance for gone.
  const CaptionCase cases[] = {
      {"GENERAL", 0, 3, u"Ventrel Plus"},
      {"CHIPX", 0, 3, u"Ventrel Plus   CHIPX"},
      {"CHIPX", 0, 0, u"Ventrel Plus   CHIPX"},
      {"CHIPX", -1, 3, u"Ventrel Plus   CHIPX"},
  };
  for (const CaptionCase& c : cases) {
    SCOPED_TRACE(std::string(c.chipMode) + " " + std::to_string(c.infoResult) + " " +
                 std::to_string(c.chipCode));
    MainPageFixture f;
    f.product.releaseChipMode = platform::WidenCodePage(c.chipMode);
    f.PlugAdapter();
    adapter::DriverInfo info{};
    info.chip_code = c.chipCode;
    if (c.infoResult == 0) f.driver.AnswerDriverInfo(info);
    f.Run([&](ObservedMainPage& p) {
      EXPECT_EQ(p.Caption(), c.caption);
      EXPECT_EQ(p.Caption(), app::WindowTitle(f.language, f.product.releaseChipMode));
      EXPECT_EQ(p.BigIcon(), icon::App);
    });
  }
}

TEST(MainPageWindow, StartsHiddenOffScreenInStationLayout) {
  MainPageFixture f;
  f.product.enableAccessPoint = 1;
  f.Run([&](ObservedMainPage& p) {
    EXPECT_FALSE(p.IsWindowVisible());
    EXPECT_EQ(p.WindowX(), 30000);
    EXPECT_EQ(p.WindowY(), 30000);
    EXPECT_EQ(f.chain.ActiveDialogNumber(), dialog_number::Main);
    EXPECT_EQ(f.chain.Registered(dialog_number::Main), &p);
    EXPECT_THAT(f.tray.events, ElementsAre("set 193"));
    EXPECT_EQ(p.TrayIconIndex(), tray_index::NotConnected);
    EXPECT_EQ(p.ComboCount(id::ModeBox), 2);
    EXPECT_EQ(p.ComboSelection(id::ModeBox), 0);
    // The mode box shows only once an adapter allowed it.
    EXPECT_FALSE(p.IsVisible(id::ModeBox));
    EXPECT_FALSE(p.IsVisible(id::ModeLabel));
    EXPECT_EQ(p.SurveyBuffer().size(), adapter::kSurveyBufferSize);
    EXPECT_EQ(p.SurveyBuffer()[0], 0);
  });
}

struct LayoutRow {
  int id;
  bool stationVisible;
  std::u16string stationText;
  bool apVisible;
  std::u16string apText;
};

TEST(MainPageWindow, StationAndAccessPointLayouts) {
  const LayoutRow rows[] = {
      {id::ListTitle, true, u"Available Network:", true, u"Connect Station List:"},
      {id::RefreshButton, true, u"Refresh", true, u""},
      {id::LinkStatusLabel, true, u"Link Status:", false, u""},
      {id::SignalLabel, true, u"Signal Strength:", false, u""},
      {id::QualityLabel, true, u"Link Quality:", false, u""},
      {id::TxFrameLabel, true, u"Tx Frame:", true, u"Tx Frame:"},
      {id::RxFrameLabel, true, u"Rx Frame:", true, u"Rx Frame:"},
      {id::LinkStatusText, true, u"", false, u""},
      {id::SignalText, true, u"", false, u""},
      {id::QualityText, true, u"", false, u""},
      {id::TxFrameText, true, u"", true, u""},
      {id::RxFrameText, true, u"", true, u""},
      {id::SignalBar, true, u"", false, u""},
      {id::QualityBar, true, u"", false, u""},
      {id::WzcBanner, false, u"", false, u""},
      {id::PanelGroup, true, u"Current Network Information", true, u"Current Network Setting"},
      {id::PanelLabel2, true, u"Type:", true, u"SSID:"},
      {id::PanelLabel5, true, u"Encrypt:", true, u""},
  };
  MainPageFixture f;
  f.Run([&](ObservedMainPage& p) {
    const auto check = [&](bool station) {
      for (const LayoutRow& r : rows) {
        SCOPED_TRACE(std::to_string(r.id) + (station ? " station" : " access point"));
        EXPECT_EQ(p.IsVisible(r.id), station ? r.stationVisible : r.apVisible);
        EXPECT_EQ(p.GetText(r.id), station ? r.stationText : r.apText);
      }
    };
    // Texts left by an earlier mode are cleared by each layout.
    p.SetText(id::LinkStatusText, u"Connected to Access Point.");
    p.SetText(id::WzcBanner, u"stale");
    p.SetWindowTexts();
    check(true);
    const platform::window::ControlState* list = p.Control(id::List);
    ASSERT_EQ(list->columns.size(), 2u);
    EXPECT_EQ(list->columns[0].title, u"SSID");
    EXPECT_EQ(list->columns[0].width, 105);
    EXPECT_EQ(list->columns[1].title, u"Strength");
    EXPECT_EQ(list->columns[1].width, 64);
    EXPECT_TRUE(list->fullRowSelect);
    EXPECT_EQ(p.Control(id::SignalBar)->rangeMax, 100);

    f.store.SetOperationMode(config::kAccessPointMode);
    p.SetText(id::TxFrameText, u"123");
    p.SetWindowTexts();
    check(false);
    ASSERT_EQ(list->columns.size(), 1u);
    EXPECT_EQ(list->columns[0].title, u"Station MAC Address");
    EXPECT_EQ(list->columns[0].width, 169);
    EXPECT_EQ(p.ComboSelection(id::ModeBox), 1);

    f.store.SetOperationMode(config::kStationMode);
    p.SetWindowTexts();
    check(true);
  });
}

TEST(MainPageWindow, PanelLabelsClearTheValues) {
  MainPageFixture f;
  f.Run([&](ObservedMainPage& p) {
    for (int value : {id::PanelValue1, id::PanelValue5, id::LinkStatusText, id::RxFrameText}) {
      p.SetText(value, u"x");
    }
    p.SetPanelLabels(CMainPageDlg::PanelMode::SelectedNetwork);
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Selected Network Information");
    EXPECT_EQ(p.GetText(id::PanelLabel3), u"WEP:");
    EXPECT_EQ(p.GetText(id::PanelLabel4), u"BSSID:");
    EXPECT_EQ(p.GetText(id::PanelLabel5), u"");
    EXPECT_EQ(p.GetText(id::PanelButton), u"Connect this site");
    for (int value : {id::PanelValue1, id::PanelValue5, id::LinkStatusText, id::RxFrameText}) {
      EXPECT_EQ(p.GetText(value), u"") << value;
    }
  });
}

TEST(MainPageWindow, TextsComeFromTheLanguageTable) {
  MainPageFixture f;
  ASSERT_EQ(f.language.LoadLanguage(
                platform::IniFile::Parse("[LANGUAGES]\r\nLanguage_1_Section=DE\r\n"
                                         "[DE]\r\nMP_Dialog_Title=Ventrel Deutsch\r\n"
                                         "MP_STA_Link_Status=Verbindung:\r\n"),
                lang::kIndexSection),
            1);
  f.Run([&](ObservedMainPage& p) {
    EXPECT_EQ(p.Caption(), u"Ventrel Deutsch");
    EXPECT_EQ(p.GetText(id::LinkStatusLabel), u"Verbindung:");
    EXPECT_EQ(p.GetText(id::SignalLabel), u"Signal Strength:");
  });
}

struct SysCommandCase {
  const char* name;
  unsigned command;
  int position;
  bool visibleAfter;
};

TEST(MainPageWindow, SystemCommands) {
  const SysCommandCase cases[] = {
      {"close box", ScClose, 0x00200030, false},
      {"minimise box", ScMinimize, 0x00200030, false},
      {"close from the keyboard", ScClose, 0, true},
      {"minimise from the keyboard", ScMinimize | 0x3, 0, true},
      {"close with low bits set", ScClose | 0x2, 5, false},
      {"0x0010 does nothing", 0x0010, 7, true},
      {"restore gets the default handling", 0xF120, 7, true},
  };
  for (const SysCommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    MainPageFixture f;
    bool stillOpen = false;
    f.Run([&](ObservedMainPage& p) {
      p.ShowWindow(true);
      p.OnSysCommand(c.command, c.position);
      EXPECT_EQ(p.IsWindowVisible(), c.visibleAfter);
      f.session.backend.Pump();
      stillOpen = p.IsOpen();
    });
    EXPECT_TRUE(stillOpen);
  }
}

TEST(MainPageWindow, CloseAndMinimiseBoxesSendTheWindowToTheTray) {
  MainPageFixture f;
  f.Run([&](ObservedMainPage& p) {
    p.ShowWindow(true);
    p.UserClose();
    EXPECT_FALSE(p.IsWindowVisible());
    p.ShowWindow(true);
    p.UserMinimize();
    EXPECT_FALSE(p.IsWindowVisible());
  });
}

TEST(MainPageWindow, EnterAndEscapeAreSwallowed) {
  MainPageFixture f;
  f.Run([&](ObservedMainPage& p) {
    p.ShowWindow(true);
    p.UserKey(13);
    p.UserKey(27);
    f.session.backend.Pump();
    EXPECT_TRUE(p.received.empty()) << "neither OK nor Cancel reached the window";
    EXPECT_TRUE(p.IsWindowVisible());
  });
}

TEST(MainPageWindow, ShellRestartBringsTheTrayIconBackOnlyWhileTheDriverAnswers) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage&) {
    f.tray.events.clear();
    f.session.backend.RestartShell();
    EXPECT_THAT(f.tray.events, ElementsAre("add 193"));
    f.driver.Answer("QueryWL_DriverVersion", -1);
    f.session.backend.RestartShell();
    EXPECT_THAT(f.tray.events, ElementsAre("add 193", "remove"));
  });
}

TEST(MainPageWindow, EndOfLifeAsksTheSystemVersionLast) {
  MainPageFixture f;
  f.PlugAdapter();
  f.Run([&](ObservedMainPage& p) { p.PostCommand(command::Exit); });
  const std::vector<std::string> calls = f.driver.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "QV_GetOSVersion()");
  EXPECT_EQ(f.chain.Registered(dialog_number::Main), nullptr);
}

struct TrayCommandCase {
  const char* name;
  int wzcStatus;  // what the library reports
  // expected
  bool shown;
  std::size_t messageBoxes;
  const char* serviceCall;
  int ownClientRun;
};

TEST(MainPageWindow, TrayCommandsOpenTheWindowAndHandTheAdapterOver) {
  const TrayCommandCase cases[] = {
      {"own client in control", 0, true, 0, "QVStartWZCService", 0},
      {"system service in control", 1, false, 1, "QVStopWZCService", 1},
      {"neither", 2, true, 0, "QVStartWZCService", 0},
  };
  for (const TrayCommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    MainPageFixture f;
    f.PlugAdapter();
    f.driver.Answer("QueryWL_CheckWZCStatus", c.wzcStatus);
    f.Run([&](ObservedMainPage& p) {
      ASSERT_EQ(p.WzcState(), c.wzcStatus);
      p.PostCommand(command::OpenUtilityWindow);
      f.session.backend.Pump();
      EXPECT_FALSE(f.startHidden);
      EXPECT_EQ(p.IsWindowVisible(), c.shown);
      EXPECT_EQ(p.Timers().count(kRefreshTimer), 1u);
      ASSERT_EQ(f.session.backend.MessageBoxes().size(), c.messageBoxes);
      if (c.messageBoxes != 0) {
        const auto& box = f.session.backend.MessageBoxes()[0];
        EXPECT_EQ(box.text, u"Wireless LAN is Controlled by the Windows Zero Configuration.");
        EXPECT_EQ(box.icon, platform::window::MessageIcon::Question);
      }
      // Hidden again on the next tick would undo the user's opening.
      f.Tick();
      EXPECT_EQ(p.IsWindowVisible(), c.shown);

      f.driver.ClearCalls();
      p.PostCommand(command::SwitchWzc);
      f.session.backend.Pump();
      EXPECT_THAT(f.driver.Calls("QV"), ElementsAre(std::string(c.serviceCall) + "()"));
      EXPECT_EQ(f.store.ReadAppNumber(u"OrvexClientRun", -1), c.ownClientRun);
    });
  }
}

TEST(MainPageWindow, WithoutStartHiddenTheWindowOpensShown) {
  MainPageFixture f;
  f.startHidden = false;
  f.Run([&](ObservedMainPage& p) {
    EXPECT_TRUE(p.IsWindowVisible());
    f.Tick();
    EXPECT_TRUE(p.IsWindowVisible());
  });
}

}  // namespace
}  // namespace ui
