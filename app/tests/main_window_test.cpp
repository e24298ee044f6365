// The main window as start-up runs it: found by its title, hidden behind the tray icon, obeying
// the two requests of a second instance on its timer, and opened or ended from the tray.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include "adapter/adapter_discovery.h"
#include "app/tests/startup_fixture.h"
#include "config/setting_keys.h"
#include "ui/main/main_page_ids.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using platform::window::Dialog;
using platform::window::TrayMouse;
using testing::StartupFixture;
namespace main_page = ui::main_page;
namespace app_value = config::app_value;

constexpr int kAbsent = -1;
constexpr std::u16string_view kTitle = u"Ventrel Plus   CHIPX";

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    f.WriteFile("vuzideza.INI",
                "[MAIN_INFO]\nCompany_Abbrev=Orvex\nMain_Page_Update_Time_ms=500\n"
                "[ADAPTER_INFORMATION]\nReleaseChipMode=CHIPX\n"
                "MatchingDeviceId0=USB\\VID_F5A1&PID_7100\n");
    platform::window::SetWindowTitles(&f.titles);
  }
  ~MainWindowTest() override { platform::window::SetWindowTitles(nullptr); }

  // A family adapter the library lists and that answers.
  void PlugAdapter() {
    const std::string instance = "0007";
    (void)f.registry->SetValue(platform::RegRoot::LocalMachine,
                               adapter::AdapterClassKeyPath(false, instance), u"MatchingDeviceId",
                               platform::RegValue::Text(u"USB\\VID_F5A1&PID_7100"));
    records_ = {adapter::testing::MakeAdapterRecord("{F5A1-0007}", "Orvex 7100 USB", instance)};
    f.library.AnswerAdapterList("CreateAllNICAdapterList", records_);
    f.library.Answer("QueryWL_DriverVersion", 0x0203);
  }

  // Start-up with the real main window; `body` acts as the user and the other instance.
  StartupEnd Run(const std::function<void(Dialog&)>& body) {
    f.session.driver.OnOpen(main_page::kTemplateId, [&](Dialog& d) { body(d); });
    CConfigApp application(f.context, MakeMainWindow);
    return application.InitInstance({});
  }
  void Tick() {
    f.session.backend.Tick();
    f.session.backend.Pump();
  }
  void SetFlag(std::u16string_view name, std::uint32_t value) {
    f.SetNumber(f.context.store.ChipValue(name), value, f.context.store.ApplicationKey());
  }
  platform::window::headless::HeadlessTray& tray() { return f.session.backend.HeadlessTrayIcon(); }

  StartupFixture f;
  std::vector<adapter::AdapterRecord> records_;
};

TEST_F(MainWindowTest, RunsHiddenUnderTheWindowTitleWithItsTimerAndTheAdapterOpen) {
  PlugAdapter();
  ASSERT_EQ(Run([&](Dialog& dlg) {
              EXPECT_EQ(dlg.Caption(), kTitle);
              EXPECT_EQ(f.context.windowTitle, kTitle);
              EXPECT_FALSE(dlg.IsWindowVisible());
              EXPECT_TRUE(f.titles.Exists(kTitle));  // hidden windows are found too
              EXPECT_EQ(dlg.Timers(),
                        (std::map<int, std::chrono::milliseconds>{{main_page::kRefreshTimer, 500ms}}));
              // The window's adapter is the context's one, and the tray icon shows its state.
              EXPECT_NE(f.context.adapter.handle.handle, adapter::kNoAdapterHandle);
              EXPECT_EQ(f.context.adapter.instance, "0007");
              EXPECT_TRUE(tray().Shown());
              EXPECT_EQ(tray().Icon(), main_page::icon::Tray[main_page::tray_index::NotConnected]);
              // Menu entries in the window's language, at the icon's positions.
              EXPECT_EQ(f.context.trayIcon->MenuText(0), u"Open EN");
              EXPECT_EQ(f.context.trayIcon->MenuText(2), u"Exit EN");
              Tick();
              EXPECT_FALSE(dlg.IsWindowVisible());
            }),
            StartupEnd::MainWindowRan);
  EXPECT_FALSE(f.titles.Exists(kTitle));
  EXPECT_FALSE(tray().Shown());
}

TEST_F(MainWindowTest, RequestsOfASecondInstanceOnTheNextTick) {
  struct Case {
    const char* name;
    int exitFlag, wakeUpFlag;  // set before the tick; kAbsent: not stored
    // expected
    bool ended, visible;
    int exitFlagAfter, wakeUpFlagAfter;
  };
  const Case cases[] = {
      {"no request", kAbsent, kAbsent, false, false, 0, 0},
      {"exit", 1, 0, true, false, 0, 0},
      {"wake up", 0, 1, false, true, 0, 0},
      {"exit comes first", 1, 1, true, false, 0, 1},
      {"only 1 is a request", 2, 2, false, false, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartupFixture& fixture = f;
    fixture.library.ClearCalls();
    PlugAdapter();
    bool ended = false, visible = false;
    (void)Run([&](Dialog& dlg) {
      if (c.exitFlag != kAbsent) SetFlag(app_value::ExitRequest, c.exitFlag);
      if (c.wakeUpFlag != kAbsent) SetFlag(app_value::WakeUpRequest, c.wakeUpFlag);
      Tick();
      ended = dlg.Ending();
      visible = dlg.IsWindowVisible();
    });
    EXPECT_EQ(ended, c.ended);
    EXPECT_EQ(visible, c.visible);
    EXPECT_EQ(f.context.startHidden, !c.visible);
    EXPECT_EQ(f.Flag(app_value::ExitRequest), c.exitFlagAfter);
    EXPECT_EQ(f.Flag(app_value::WakeUpRequest), c.wakeUpFlagAfter);
  }
}

TEST_F(MainWindowTest, TrayOpensTheWindowAndExits) {
  PlugAdapter();
  bool ended = false;
  (void)Run([&](Dialog& dlg) {
    tray().SendMouse(TrayMouse::LeftDoubleClick);
    tray().SendMouse(TrayMouse::LeftUp);
    f.session.backend.Pump();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(f.context.startHidden);
    tray().ChooseFromNextMenu(kCommandExit);
    tray().SendMouse(TrayMouse::RightUp);
    f.session.backend.Pump();
    ended = dlg.Ending();
  });
  EXPECT_TRUE(ended);
}

TEST_F(MainWindowTest, WithoutANotificationAreaTheWindowStartsShown) {
  tray().SetSupported(false);
  bool visible = false;
  ASSERT_EQ(Run([&](Dialog& dlg) { visible = dlg.IsWindowVisible(); }),
            StartupEnd::MainWindowRan);
  EXPECT_TRUE(visible);
  EXPECT_FALSE(f.context.startHidden);
}

}  // namespace
}  // namespace app
