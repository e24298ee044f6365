// The headless modal loop: nesting, posted commands, timers, message boxes, tray and the dump.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/headless/scripted_driver.h"
#include "platform/window/headless/tests/manual_clock.h"

namespace platform::window::headless {
namespace {

constexpr int kOuter = 9101, kInner = 9102;
constexpr int kOpenInner = 10, kLabel = 11, kList = 12, kCombo = 13, kCheck = 14, kTrack = 15;

std::vector<std::string> g_log;  // events of every dialog, in order

void RegisterTemplates() {
  DialogTemplate outer;
  outer.id = kOuter;
  outer.caption = u"Outer";
  auto add = [](DialogTemplate& t, int id, ControlKind kind, std::u16string text = {}) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.text = std::move(text);
    t.controls.push_back(c);
  };
  add(outer, kOpenInner, ControlKind::Button, u"Open");
  add(outer, kLabel, ControlKind::Label, u"caf\u00e9");
  add(outer, kList, ControlKind::ListView);
  add(outer, kCombo, ControlKind::DropDownList);
  add(outer, kCheck, ControlKind::CheckBox, u"On");
  add(outer, kTrack, ControlKind::TrackBar);
  TemplateRegistry::Instance().Add(outer);
  DialogTemplate inner;
  inner.id = kInner;
  inner.caption = u"Inner";
  add(inner, kLabel, ControlKind::Label);
  TemplateRegistry::Instance().Add(inner);
}

class InnerDlg : public Dialog {
 public:
  InnerDlg() : Dialog(kInner) {}
  bool OnInitDialog() override {
    SetTimer(2, std::chrono::milliseconds(500));
    return true;
  }
  void OnTimer(int id) override { g_log.push_back("inner timer " + std::to_string(id)); }
};

class OuterDlg : public Dialog {
 public:
  OuterDlg() : Dialog(kOuter) {}
  int innerResult = 0;
  bool OnInitDialog() override {
    SetTimer(1, std::chrono::milliseconds(1000));
    return true;
  }
  void OnTimer(int id) override { g_log.push_back("outer timer " + std::to_string(id)); }
  void OnCommand(int id, CommandCode code) override {
    if (id == kOpenInner && code == CommandCode::Clicked) {
      PostCommand(900);
      g_log.push_back("inner opens");
      InnerDlg inner;
      innerResult = inner.DoModal();
      g_log.push_back("inner ended " + std::to_string(innerResult));
      return;
    }
    g_log.push_back("command " + std::to_string(id));
    Dialog::OnCommand(id, code);
  }
};

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTemplates();
    g_log.clear();
  }
  ManualClock clock;
  ScriptedSession session{clock};
  HeadlessBackend& backend = session.backend;
  ScriptedDriver& driver = session.driver;
};

TEST_F(HeadlessTest, NestedDialogsPostedCommandsAndOuterTimers) {
  driver.OnOpen(kOuter, [](Dialog& d) { d.UserClick(kOpenInner); });
  driver.OnOpen(kInner, [&](Dialog& d) {
    // The command the outer dialog posted before opening us was delivered by our loop.
    EXPECT_EQ(g_log, (std::vector<std::string>{"inner opens", "command 900"}));
    EXPECT_EQ(backend.OpenDialogs().size(), 2u);
    backend.Tick();  // the smallest period is the inner 500 ms
    EXPECT_EQ(clock.now, std::chrono::milliseconds(500));
    d.KillTimer(2);
    backend.Tick();  // now only the outer 1000 ms timer is left
    EXPECT_EQ(clock.now, std::chrono::milliseconds(1500));
    d.EndDialog(7);
  });
  OuterDlg outer;
  outer.DoModal();
  EXPECT_EQ(outer.innerResult, 7);
  EXPECT_EQ(g_log, (std::vector<std::string>{"inner opens", "command 900", "outer timer 1",
                                             "inner timer 2", "outer timer 1", "inner ended 7"}));
  EXPECT_EQ(driver.Opened(), (std::vector<int>{kOuter, kInner}));
  EXPECT_TRUE(backend.OpenDialogs().empty());
}

TEST_F(HeadlessTest, UnscriptedAndStubbornDialogsAreClosed) {
  class Stubborn : public Dialog {
   public:
    Stubborn() : Dialog(kInner) {}
    void OnClose() override { ShowWindow(false); }  // a tray program's main window only hides
  };
  Stubborn stubborn;
  EXPECT_EQ(stubborn.DoModal(), IdCancel);
  EXPECT_FALSE(stubborn.IsWindowVisible());
  OuterDlg plain;
  EXPECT_EQ(plain.DoModal(), IdCancel);
}

TEST_F(HeadlessTest, PostedCommandsOfAClosedDialogAreDropped) {
  class Poster : public Dialog {
   public:
    Poster() : Dialog(kInner) {}
    bool OnInitDialog() override {
      PostCommand(900);
      EndDialog(3);
      return true;
    }
    void OnCommand(int id, CommandCode) override { g_log.push_back("got " + std::to_string(id)); }
  };
  Poster first;
  EXPECT_EQ(first.DoModal(), 3);
  OuterDlg next;  // may reuse the address; must not receive the stale command
  next.DoModal();
  EXPECT_TRUE(g_log.empty());
}

TEST_F(HeadlessTest, MessageBoxesAnswerQueuedOrDefaultAndAreRecorded) {
  struct Case {
    MessageButtons buttons;
    std::optional<MessageResult> queued;
    MessageResult want;
    bool byDefault;
  };
  const Case cases[] = {
      {MessageButtons::YesNo, MessageResult::Yes, MessageResult::Yes, false},
      {MessageButtons::YesNo, std::nullopt, MessageResult::No, true},
      {MessageButtons::YesNo, MessageResult::Ok, MessageResult::No, true},  // no OK button
      {MessageButtons::Ok, std::nullopt, MessageResult::Ok, true},
      {MessageButtons::Ok, MessageResult::Yes, MessageResult::Ok, true},
  };
  driver.OnOpen(kInner, [&](Dialog& d) {
    for (const Case& c : cases) {
      if (c.queued) backend.QueueAnswer(*c.queued);
      EXPECT_EQ(d.MessageBox(u"Sure?", u"Title", c.buttons, MessageIcon::Question), c.want);
      EXPECT_EQ(backend.PendingAnswers(), 0u);  // a queued answer is used up either way
      EXPECT_EQ(backend.MessageBoxes().back().answeredByDefault, c.byDefault);
    }
  });
  Dialog d(kInner);
  d.DoModal();
  ASSERT_EQ(backend.MessageBoxes().size(), std::size(cases));
  const nlohmann::json box = DumpMessageBox(backend.MessageBoxes()[0]);
  EXPECT_EQ(box, nlohmann::json::parse(R"({"text":"Sure?","caption":"Title","buttons":"yesno",
      "icon":"question","answer":"yes","byDefault":false,"owner":9102})"));
}

TEST(HeadlessRealTime, TimersFireWhenDueAndKeepTheirPeriod) {
  RegisterTemplates();
  ManualClock clock;
  ScriptedSession session(clock, TimeMode::Real);
  HeadlessBackend& backend = session.backend;
  g_log.clear();
  session.driver.OnOpen(kOuter, [&](Dialog& d) {
    d.SetTimer(3, std::chrono::milliseconds(300));
    EXPECT_EQ(backend.TimeUntilNextTimer(), std::chrono::milliseconds(300));
    clock.now += std::chrono::milliseconds(300);
    backend.FireDueTimers();
    EXPECT_EQ(g_log, std::vector<std::string>{"outer timer 3"});
    clock.now += std::chrono::milliseconds(750);  // both due now; each fires once
    backend.FireDueTimers();
    EXPECT_EQ(g_log, (std::vector<std::string>{"outer timer 3", "outer timer 1", "outer timer 3"}));
    EXPECT_EQ(backend.TimeUntilNextTimer(), std::chrono::milliseconds(300));
    clock.now += std::chrono::milliseconds(200);
    d.SetTimer(3, std::chrono::milliseconds(300));  // setting it again restarts it
    EXPECT_EQ(backend.TimeUntilNextTimer(), std::chrono::milliseconds(300));
  });
  OuterDlg outer;
  outer.DoModal();
  EXPECT_EQ(backend.TimeUntilNextTimer(), std::nullopt);  // closing dropped its timers
}

class RecordingListener : public TrayListener {
 public:
  void OnTrayMouse(TrayMouse event) override { events.push_back(event); }
  std::vector<TrayMouse> events;
};

TEST(HeadlessTrayTest, RecordsStateAndPassesMouseAndMenuChoices) {
  HeadlessTray tray;
  RecordingListener listener;
  EXPECT_FALSE(tray.SendMouse(TrayMouse::RightUp));
  EXPECT_FALSE(tray.SetIcon(5));  // nothing shown yet
  EXPECT_TRUE(tray.Add(189, std::u16string(200, u'x'), &listener));
  EXPECT_FALSE(tray.Add(189, u"again", &listener));
  EXPECT_EQ(tray.Tip().size(), HeadlessTray::kTipLength);
  EXPECT_TRUE(tray.SendMouse(TrayMouse::LeftDoubleClick));
  EXPECT_EQ(listener.events, std::vector<TrayMouse>{TrayMouse::LeftDoubleClick});
  const std::vector<TrayMenuItem> menu = {{32771, u"Open"}, {32773, u"Exit"}};
  EXPECT_EQ(tray.TrackMenu(menu, 32771), 0);
  tray.ChooseFromNextMenu(32773);
  EXPECT_EQ(tray.TrackMenu(menu, 32771), 32773);
  EXPECT_EQ(tray.Dump()["lastMenu"][0], nlohmann::json::parse(
                                            R"({"command":32771,"text":"Open","default":true})"));
  EXPECT_TRUE(tray.Remove());
  EXPECT_FALSE(tray.Remove());
  EXPECT_FALSE(tray.Dump()["shown"].get<bool>());
}

TEST_F(HeadlessTest, DumpShowsEveryOpenDialogAndItsControls) {
  driver.OnOpen(kOuter, [&](Dialog& d) {
    d.ListInsertColumn(kList, 0, u"SSID", 80);
    d.ListInsertColumn(kList, 1, u"Ch", 30);
    d.ListInsertItem(kList, 0, u"net");
    d.ListSetItemText(kList, 0, 1, u"6");
    d.ListSetSelectionMark(kList, 0);
    d.ComboAdd(kCombo, u"a");
    d.ComboSelect(kCombo, 0);
    d.SetCheck(kCheck, true);
    d.TrackSetRange(kTrack, 0, 4);
    d.TrackSetPosition(kTrack, 3);
    d.Enable(kOpenInner, false);
    d.ShowWindow(false);
    d.MessageBox(u"hello", u"", MessageButtons::Ok, MessageIcon::None);
    const nlohmann::json dump = backend.Dump(0);
    ASSERT_EQ(dump["dialogs"].size(), 1u);
    const nlohmann::json& dlg = dump["dialogs"][0];
    EXPECT_EQ(dlg["template"], kOuter);
    EXPECT_EQ(dlg["caption"], "Outer");
    EXPECT_EQ(dlg["visible"], false);
    const nlohmann::json& c = dlg["controls"];
    EXPECT_EQ(c[0], nlohmann::json::parse(
                        R"({"id":10,"kind":"button","text":"Open","enabled":false,"visible":true})"));
    EXPECT_EQ(c[1]["text"], "caf\xc3\xa9");  // UTF-8
    EXPECT_EQ(c[2]["columns"], nlohmann::json::parse(R"(["SSID","Ch"])"));
    EXPECT_EQ(c[2]["rows"], nlohmann::json::parse(R"([["net","6"]])"));
    EXPECT_EQ(c[2]["selection"], 0);
    EXPECT_EQ(c[3]["items"], nlohmann::json::parse(R"(["a"])"));
    EXPECT_EQ(c[3]["selection"], 0);
    EXPECT_EQ(c[4]["checked"], true);
    EXPECT_EQ(c[5]["position"], 3);
    EXPECT_EQ(c[5]["max"], 4);
    EXPECT_EQ(dump["messageBoxes"][0]["text"], "hello");
    EXPECT_TRUE(backend.Dump(1)["messageBoxes"].empty());
    EXPECT_FALSE(dump["tray"]["shown"].get<bool>());
  });
  OuterDlg outer;
  outer.DoModal();
}

}  // namespace
}  // namespace platform::window::headless
