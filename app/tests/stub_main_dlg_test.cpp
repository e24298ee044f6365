// The temporary main window: found by its title, hidden at first, and obeying the two requests
// of a second instance on its timer.
#include "app/stub_main_dlg.h"

#include <gtest/gtest.h>

#include "adapter/testing/recording_adapter.h"
#include "app/tests/startup_fixture.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using platform::window::Dialog;
using platform::window::TrayMouse;
using testing::StartupFixture;

constexpr int kEndedByRequest = 0;
constexpr int kClosedAtEndOfScript = platform::window::IdCancel;
constexpr int kAbsent = -1;

class StubMainTest : public ::testing::Test {
 protected:
  StubMainTest() {
    RegisterStubMainTemplate();
    f.context.windowTitle = u"Ventrel Plus   CHIPX";
    f.context.store.SetChipMode(u"CHIPX");
    f.context.product.mainPageUpdateTimeMs = 500;
    f.context.trayIcon = std::make_unique<CConfigTrayIcon>(
        f.session.backend.TrayIcon(), [this] { return f.context.mainWindow; });
    f.context.trayIcon->Create(u"Tip", kStartupTrayIcon, kTrayMenuId, kCommandOpenWindow, false);
    f.context.trayIcon->RemoveIcon();
    platform::window::SetWindowTitles(&f.titles);
  }
  ~StubMainTest() override { platform::window::SetWindowTitles(nullptr); }

  // Runs the window with `body` acting as the user and the other instance; returns its result.
  int Run(const std::function<void(StubMainDlg&)>& body) {
    StubMainDlg dlg(f.context);
    f.context.mainWindow = &dlg;
    f.session.driver.OnOpen(kStubMainTemplate, [&](Dialog&) { body(dlg); });
    const int result = dlg.DoModal();
    f.context.mainWindow = nullptr;
    return result;
  }
  void SetFlag(std::u16string_view name, std::uint32_t value) {
    f.SetNumber(f.context.store.ChipValue(name), value,
                f.context.store.ApplicationKey());
  }
  platform::window::headless::HeadlessTray& tray() {
    return f.session.backend.HeadlessTrayIcon();
  }

  StartupFixture f;
};

TEST_F(StubMainTest, OpensHiddenUnderTheWindowTitleWithItsTimerAndTrayIcon) {
  Run([&](StubMainDlg& dlg) {
    EXPECT_EQ(dlg.Caption(), u"Ventrel Plus   CHIPX");
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(f.titles.Exists(u"Ventrel Plus   CHIPX"));  // hidden windows are found too
    EXPECT_TRUE(tray().Shown());
    EXPECT_EQ(tray().Icon(), kStartupTrayIcon);
    EXPECT_EQ(dlg.Timers(), (std::map<int, std::chrono::milliseconds>{{kRefreshTimer, 500ms}}));
  });
  EXPECT_FALSE(f.titles.Exists(u"Ventrel Plus   CHIPX"));
}

TEST_F(StubMainTest, RequestsOfASecondInstanceOnTheNextTick) {
  struct Case {
    const char* name;
    int exitFlag, wakeUpFlag;  // before the tick; kAbsent: not stored
    // expected
    int result;
    bool visible;
    std::u16string ticks;
    int exitFlagAfter, wakeUpFlagAfter;
  };
  const Case cases[] = {
      {"no request", kAbsent, kAbsent, kClosedAtEndOfScript, false, u"Ticks: 1", kAbsent, kAbsent},
      {"flags cleared", 0, 0, kClosedAtEndOfScript, false, u"Ticks: 1", 0, 0},
      {"exit", 1, 0, kEndedByRequest, false, u"Ticks: 0", 0, 0},
      {"wake up", 0, 1, kClosedAtEndOfScript, true, u"Ticks: 0", 0, 0},
      {"exit comes first", 1, 1, kEndedByRequest, false, u"Ticks: 0", 0, 1},
      {"only 1 is a request", 2, 2, kClosedAtEndOfScript, false, u"Ticks: 1", 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.context.startHidden = true;
    if (c.exitFlag != kAbsent) SetFlag(kExitFlagValue, c.exitFlag);
    if (c.wakeUpFlag != kAbsent) SetFlag(kWakeUpFlagValue, c.wakeUpFlag);
    bool visible = false, timerRuns = false;
    std::u16string ticks;
    const int result = Run([&](StubMainDlg& dlg) {
      f.session.backend.Tick();
      visible = dlg.IsWindowVisible();
      timerRuns = !dlg.Timers().empty();
      ticks = dlg.GetText(kStubTicksLabel);
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(timerRuns, c.result != kEndedByRequest);
    EXPECT_EQ(visible, c.visible);
    EXPECT_EQ(f.context.startHidden, !c.visible);
    EXPECT_EQ(ticks, c.ticks);
    EXPECT_EQ(f.Flag(kExitFlagValue), c.exitFlagAfter);
    EXPECT_EQ(f.Flag(kWakeUpFlagValue), c.wakeUpFlagAfter);
    // The next case starts from a clean store.
    (void)f.registry->DeleteKey(platform::RegRoot::CurrentUser, f.context.store.ApplicationKey());
  }
}

TEST_F(StubMainTest, TrayOpensAndExits) {
  const int result = Run([&](StubMainDlg& dlg) {
    tray().SendMouse(TrayMouse::LeftDoubleClick);
    tray().SendMouse(TrayMouse::LeftUp);
    f.session.backend.Pump();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(f.context.startHidden);
    tray().ChooseFromNextMenu(kCommandExit);
    tray().SendMouse(TrayMouse::RightUp);
    f.session.backend.Pump();
  });
  EXPECT_EQ(result, kEndedByRequest);
}

TEST_F(StubMainTest, FindsAndOpensAFamilyAdapterPluggedInLater) {
  const adapter::AdapterRecord records[] = {
      adapter::testing::MakeAdapterRecord("{usb}", "VZ 7100 USB Wireless LAN Adapter", "0007")};
  ASSERT_EQ(f.registry->SetValue(platform::RegRoot::LocalMachine,
                                 adapter::AdapterClassKeyPath(false, "0007"), u"MatchingDeviceId",
                                 platform::RegValue::Text(u"USB\\VID_F5A1&PID_7300")),
            platform::RegStatus::Ok);
  f.context.product.matchingDeviceIds[0] = u"usb\\vid_f5a1&pid_7300";
  f.library.Answer("QueryWL_DriverVersion", 0x0203);
  Run([&](StubMainDlg& dlg) {
    EXPECT_EQ(dlg.ComboCount(kAdapterBox), 0);  // nothing plugged in at the start
    f.library.AnswerAdapterList("CreateAllNICAdapterList", records);
    f.session.backend.Tick();
    EXPECT_EQ(dlg.ComboItem(kAdapterBox, 0), u"VZ 7100 USB Wireless LAN Adapter");
    EXPECT_EQ(dlg.ComboSelection(kAdapterBox), 0);
    EXPECT_EQ(dlg.ListItemText(kStubList, 0, 0),
              u"VZ 7100 USB Wireless LAN Adapter (chip type 3)");
    const std::size_t discoveries = f.library.Calls("CreateAllNICAdapterList").size();
    f.session.backend.Tick();  // open: no further discovery
    EXPECT_EQ(f.library.Calls("CreateAllNICAdapterList").size(), discoveries);
  });
  EXPECT_STREQ(f.context.currentAdapter.name, "{usb}");
  EXPECT_NE(f.context.store.TreePath(config::kStationMode).find(u"\\0007\\"), std::u16string::npos);
}

}  // namespace
}  // namespace app
