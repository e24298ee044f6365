// The tray icon: what start-up and the main window ask of the shell, and the mouse handling that
// turns clicks into commands for the main window.
#include "app/tray_icon.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock/clock.h"
#include "platform/window/headless/scripted_driver.h"

namespace app {
namespace {

using platform::window::CommandCode;
using platform::window::Dialog;
using platform::window::TrayMouse;
namespace hl = platform::window::headless;

constexpr int kOwnerTemplate = 9601;

// Stands in for the main window: records the commands it receives.
class OwnerDlg final : public Dialog {
 public:
  OwnerDlg() : Dialog(kOwnerTemplate) {}
  void OnCommand(int id, CommandCode code) override {
    if (code == CommandCode::Menu) commands.push_back(id);
  }
  std::vector<int> commands;
};

// A desktop without a notification area.
class NoTray final : public platform::window::Tray {
 public:
  bool Supported() const override { return false; }
  bool Add(int, std::u16string_view, platform::window::TrayListener*) override { return false; }
  bool SetIcon(int) override { return false; }
  bool SetTip(std::u16string_view) override { return false; }
  bool Remove() override { return false; }
  int TrackMenu(const std::vector<platform::window::TrayMenuItem>&, int) override { return 0; }
};

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    platform::window::DialogTemplate t;
    t.id = kOwnerTemplate;
    t.caption = u"Owner";
    platform::window::TemplateRegistry::Instance().Add(t);
  }

  // Runs `body` while the owner runs as the main window; returns the commands it received.
  std::vector<int> WithOwner(const std::function<void()>& body) {
    OwnerDlg owner;
    main_ = &owner;
    session.driver.OnOpen(kOwnerTemplate, [&](Dialog&) {
      body();
      session.backend.Pump();
    });
    owner.DoModal();
    main_ = nullptr;
    return owner.commands;
  }

  hl::HeadlessTray& tray() { return session.backend.HeadlessTrayIcon(); }

  platform::VirtualClock clock;
  hl::ScriptedSession session{clock};
  Dialog* main_ = nullptr;
};

TEST_F(TrayIconTest, CreateRemoveAddDestroy) {
  CConfigTrayIcon icon(tray(), [this] { return main_; });
  EXPECT_EQ(icon.Create(u"Tip text", 189, 173, 32771, false), 1);
  EXPECT_TRUE(tray().Shown());
  EXPECT_EQ(tray().Icon(), 189);
  EXPECT_EQ(tray().Tip(), u"Tip text");
  EXPECT_EQ(icon.IconId(), 173);

  EXPECT_EQ(icon.RemoveIcon(), 1);
  EXPECT_FALSE(tray().Shown());
  EXPECT_EQ(icon.RemoveIcon(), 0);  // the shell refuses: nothing to remove

  EXPECT_EQ(icon.AddIcon(192), 1);  // comes back with the tip it had
  EXPECT_EQ(tray().Icon(), 192);
  EXPECT_EQ(tray().Tip(), u"Tip text");
  EXPECT_EQ(icon.SetTip(u"Other"), 1);
  EXPECT_EQ(icon.SetIcon(193), 1);
  EXPECT_EQ(tray().Tip(), u"Other");
  EXPECT_EQ(tray().Icon(), 193);

  icon.Destroy();
  EXPECT_FALSE(tray().Shown());
  EXPECT_FALSE(icon.Enabled());
  EXPECT_EQ(icon.AddIcon(189), 0);  // a destroyed icon stays away
  EXPECT_FALSE(tray().Shown());
}

TEST_F(TrayIconTest, DestroyedWithItsObject) {
  {
    CConfigTrayIcon icon(tray(), [this] { return main_; });
    icon.Create(u"Tip", 189, 173, 32771, false);
  }
  EXPECT_FALSE(tray().Shown());
}

TEST_F(TrayIconTest, WithoutANotificationAreaEveryCallDoesNothing) {
  NoTray none;
  CConfigTrayIcon icon(none, [this] { return main_; });
  EXPECT_FALSE(icon.Enabled());
  EXPECT_EQ(icon.Create(u"Tip", 189, 173, 32771, false), 0);
  EXPECT_EQ(icon.AddIcon(189), 0);
  EXPECT_EQ(icon.SetIcon(189), 0);
  EXPECT_EQ(icon.SetTip(u"x"), 0);
  EXPECT_EQ(icon.RemoveIcon(), 0);
  icon.Destroy();
}

TEST_F(TrayIconTest, RightClickShowsTheMenuInTheOwnersTextsAndSendsTheChoice) {
  CConfigTrayIcon icon(tray(), [this] { return main_; });
  icon.Create(u"Tip", 189, 173, 32771, false);
  icon.SetMenuText(0, u"Öffnen");
  icon.SetMenuText(1, u"Dienst");
  icon.SetMenuText(2, u"Beenden");
  icon.SetMenuText(3, u"ignored");  // the menu has three entries

  const std::vector<int> commands = WithOwner([&] {
    tray().ChooseFromNextMenu(32773);
    EXPECT_TRUE(tray().SendMouse(TrayMouse::RightUp));
    EXPECT_TRUE(tray().SendMouse(TrayMouse::RightUp));  // dismissed: nothing is sent
  });
  EXPECT_EQ(commands, std::vector<int>{32773});
  ASSERT_EQ(tray().LastMenu().size(), 3u);
  const std::pair<int, std::u16string> expected[] = {
      {32771, u"Öffnen"}, {32772, u"Dienst"}, {32773, u"Beenden"}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(tray().LastMenu()[i].command, expected[i].first);
    EXPECT_EQ(tray().LastMenu()[i].text, expected[i].second);
  }
  EXPECT_EQ(tray().LastMenuDefault(), 32771);
  EXPECT_EQ(tray().MenusShown(), 2);
}

TEST_F(TrayIconTest, OnlyTheReleaseAfterADoubleClickOpens) {
  struct Case {
    const char* name;
    int defaultItem;
    bool byPosition;
    std::vector<TrayMouse> events;
    std::vector<int> commands;
  };
  const Case cases[] = {
      {"single click", 32771, false, {TrayMouse::LeftUp}, {}},
      {"double click", 32771, false, {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp}, {32771}},
      {"release after it",
       32771,
       false,
       {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp, TrayMouse::LeftUp},
       {32771}},
      {"two double clicks",
       32771,
       false,
       {TrayMouse::LeftDoubleClick, TrayMouse::LeftDoubleClick, TrayMouse::LeftUp},
       {32771}},
      {"default by position", 2, true, {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp}, {32773}},
      {"position beyond the menu", 3, true, {TrayMouse::LeftDoubleClick, TrayMouse::LeftUp}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CConfigTrayIcon icon(tray(), [this] { return main_; });
    icon.Create(u"Tip", 189, 173, c.defaultItem, c.byPosition);
    const std::vector<int> commands = WithOwner([&] {
      for (TrayMouse event : c.events) tray().SendMouse(event);
    });
    EXPECT_EQ(commands, c.commands);
    EXPECT_EQ(tray().MenusShown(), 0);
  }
}

TEST_F(TrayIconTest, ClicksWithoutAMainWindowDoNothing) {
  CConfigTrayIcon icon(tray(), [this] { return main_; });
  icon.Create(u"Tip", 189, 173, 32771, false);
  tray().ChooseFromNextMenu(32773);
  EXPECT_TRUE(tray().SendMouse(TrayMouse::RightUp));
  EXPECT_TRUE(tray().SendMouse(TrayMouse::LeftDoubleClick));
  EXPECT_TRUE(tray().SendMouse(TrayMouse::LeftUp));
  EXPECT_EQ(tray().MenusShown(), 0);
}

}  // namespace
}  // namespace app
