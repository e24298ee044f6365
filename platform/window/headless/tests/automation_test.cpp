// The automation interpreter fed from strings: commands, errors, end of input and timers.
#include <unistd.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/headless/automation.h"
#include "platform/window/headless/tests/manual_clock.h"

namespace platform::window::headless {
namespace {

constexpr int kMain = 9201, kInner = 9202;
enum : int { kAsk = 10, kStatus, kCheck, kEdit, kCombo, kList, kTrack, kOpen, kOff };

void RegisterTemplates() {
  DialogTemplate t;
  t.id = kMain;
  t.caption = u"Main";
  auto add = [&](int id, ControlKind kind, std::uint32_t style = 0, int limit = 0) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.style = style;
    c.limit = limit;
    t.controls.push_back(c);
  };
  add(kAsk, ControlKind::Button);
  add(kStatus, ControlKind::Label);
  add(kCheck, ControlKind::CheckBox);
  add(kEdit, ControlKind::Edit, 0, 8);
  add(kCombo, ControlKind::ComboBox);
  add(kList, ControlKind::ListView);
  add(kTrack, ControlKind::TrackBar);
  add(kOpen, ControlKind::Button);
  add(kOff, ControlKind::Button, style::Disabled);
  TemplateRegistry::Instance().Add(t);
  DialogTemplate inner;
  inner.id = kInner;
  inner.caption = u"Inner";
  TemplateRegistry::Instance().Add(inner);
}

std::vector<std::string> g_log;

class InnerDlg : public Dialog {
 public:
  InnerDlg() : Dialog(kInner) {}
  void OnClose() override {
    g_log.push_back("inner closed");
    Dialog::OnClose();
  }
};

class MainDlg : public Dialog, public TrayListener {
 public:
  MainDlg() : Dialog(kMain) {}
  int ticks = 0;
  bool startHidden = false;  // as a tray program starts: shown by the icon's double click
  bool OnInitDialog() override {
    ShowWindow(!startHidden);
    ComboAdd(kCombo, u"one");
    ComboAdd(kCombo, u"two");
    ListInsertItem(kList, 0, u"row");
    SetTimer(1, std::chrono::milliseconds(40));
    CurrentBackend().TrayIcon().Add(189, u"tip", this);
    return true;
  }
  void OnTimer(int) override { ++ticks; }
  void OnTrayMouse(TrayMouse event) override {
    g_log.push_back("tray " + std::to_string(static_cast<int>(event)));
    if (event == TrayMouse::LeftUp) ShowWindow(true);
    if (event == TrayMouse::RightUp) {
      g_log.push_back("menu " + std::to_string(CurrentBackend().TrayIcon().TrackMenu({{1, u"Open"}}, 1)));
    }
  }
  void OnCommand(int id, CommandCode code) override {
    g_log.push_back("command " + std::to_string(id) + " " + std::to_string(static_cast<int>(code)));
    if (id == kAsk) {
      const MessageResult r = MessageBox(u"Sure?", u"Q", MessageButtons::YesNo, MessageIcon::Question);
      SetText(kStatus, r == MessageResult::Yes ? u"yes" : u"no");
    } else if (id == kOpen) {
      InnerDlg inner;
      inner.DoModal();
    } else {
      Dialog::OnCommand(id, code);
    }
  }
  int OnNotify(int id, ListEvent event, int row) override {
    g_log.push_back("notify " + std::to_string(id) + " " + std::to_string(static_cast<int>(event)) +
                    " " + std::to_string(row));
    return 0;
  }
  void OnHScroll(int id, int position) override {
    g_log.push_back("hscroll " + std::to_string(id) + " " + std::to_string(position));
  }
  void OnClose() override {
    g_log.push_back("main closed");
    Dialog::OnClose();
  }
  void OnSysCommand(unsigned command, int position) override {
    if (command == ScMinimize) g_log.push_back("minimized");
    Dialog::OnSysCommand(command, position);
  }
  void OnTaskbarCreated() override {
    g_log.push_back("taskbar created");
    CurrentBackend().TrayIcon().Add(189, u"tip", this);
  }
};

struct ScriptRun {
  std::string out, err;
  int result = 0;
  int ticks = 0;
};

ScriptRun RunScript(const std::string& script, bool startHidden = false) {
  RegisterTemplates();
  g_log.clear();
  ManualClock clock;
  HeadlessBackend backend(clock, TimeMode::Virtual);
  std::istringstream in(script);
  StreamLineSource source(in);
  std::ostringstream out, err;
  Automation automation(backend, source, out, err);
  backend.SetDriver(&automation);
  SetCurrentBackend(&backend);
  MainDlg main;
  main.startHidden = startHidden;
  ScriptRun run;
  run.result = main.DoModal();
  run.ticks = main.ticks;
  SetCurrentBackend(nullptr);
  run.out = out.str();
  run.err = err.str();
  return run;
}

TEST(Automation, CommandsActOnTheInnermostDialogAndDumpShowsTheResult) {
  const ScriptRun run = RunScript(
      "check 12 1\r\n"
      "check 12 1\n"
      "type 13 h\xc3\xa9llo  world\n"
      "select 14 1\n"
      "dblclick 15 0\n"
      "scroll 16 7\n"
      "answer yes\n"
      "click 10\n"
      "tick 3\n"
      "dump\n"
      "click 17\n"
      "dump\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(g_log, (std::vector<std::string>{"command 12 0", "command 13 2", "command 14 1",
                                             "notify 15 1 0", "hscroll 16 7", "command 10 0",
                                             "command 17 0", "inner closed", "main closed"}));
  EXPECT_EQ(run.ticks, 3);
  EXPECT_EQ(run.result, IdCancel);
  std::istringstream lines(run.out);
  std::string first, second;
  ASSERT_TRUE(std::getline(lines, first));
  ASSERT_TRUE(std::getline(lines, second));
  const nlohmann::json dump = nlohmann::json::parse(first);
  const nlohmann::json& c = dump["dialogs"][0]["controls"];
  EXPECT_EQ(c[1]["text"], "yes");
  EXPECT_EQ(c[2]["checked"], true);
  EXPECT_EQ(c[3]["text"], "h\xc3\xa9llo  w");  // cut to the limit of 8
  EXPECT_EQ(c[4]["text"], "two");
  EXPECT_EQ(c[6]["position"], 7);
  EXPECT_EQ(dump["messageBoxes"][0]["answer"], "yes");
  EXPECT_EQ(dump["tray"]["icon"], 189);
  const nlohmann::json nested = nlohmann::json::parse(second);
  ASSERT_EQ(nested["dialogs"].size(), 2u);
  EXPECT_EQ(nested["dialogs"][1]["template"], kInner);
  EXPECT_TRUE(nested["messageBoxes"].empty());  // shown before the last dump
}

TEST(Automation, MalformedCommandsPrintOneErrorLineAndAreSkipped) {
  const char* bad[] = {
      "bogus",         "click",          "click x",        "click 999",    "click 18",
      "select 14",     "select 14 x",    "tick 0",         "tick x",       "tick 1 2",
      "answer maybe",  "tray wiggle",    "tray command x", "sleep -1",     "sleep",
      "check 12 2",    "check 10 1",     "dump extra",     "type 999 x",   "key space",
      "close now",     "minimize 1",    "scroll 16 99999999999999",     "select 14 2",  "dblclick 15 -1",
  };
  for (const char* line : bad) {
    SCOPED_TRACE(line);
    const ScriptRun run = RunScript(std::string("# comment\n\n") + line + "\ndump\n");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
    const nlohmann::json dump = nlohmann::json::parse(run.out);
    EXPECT_EQ(dump["dialogs"][0]["controls"][2]["checked"], false);
    EXPECT_EQ(g_log, std::vector<std::string>{"main closed"});
  }
}

// Lines longer than the limit are reported and skipped without being held: a script (or a
// pipe) that never ends its line costs time in proportion to its length.
TEST(Automation, OverlongLinesAreSkippedWithAnError) {
  const std::string limit(LineSource::kMaxLineBytes, 'x');
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> lines;  // "!" stands for an overlong line
  };
  const Case cases[] = {
      {"at the limit", "a\n" + limit + "\nb\n", {"a", limit, "b"}},
      {"one byte over", "a\n" + limit + "y\nb\n", {"a", "!", "b"}},
      {"far over, then more lines", limit + limit + limit + "\n\nc", {"!", "", "c"}},
      {"over, without an end", "a\n" + limit + limit, {"a", "!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto collect = [](LineSource& source) {
      std::vector<std::string> lines;
      std::string line;
      for (LineSource::Result r; (r = source.Next(line, std::nullopt)) != LineSource::Result::End;) {
        lines.push_back(r == LineSource::Result::Overlong ? "!" : line);
      }
      return lines;
    };
    std::istringstream in(c.input);
    StreamLineSource stream(in);
    EXPECT_EQ(collect(stream), c.lines) << "stream";

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::thread writer([&] {
      // In small pieces, so that lines arrive split across reads.
      for (std::size_t at = 0; at < c.input.size(); at += 1000) {
        const std::size_t n = std::min<std::size_t>(1000, c.input.size() - at);
        EXPECT_EQ(::write(fds[1], c.input.data() + at, n), static_cast<ssize_t>(n));
      }
      ::close(fds[1]);
    });
    FdLineSource pipe(fds[0]);
    EXPECT_EQ(collect(pipe), c.lines) << "pipe";
    writer.join();
    ::close(fds[0]);
  }

  const ScriptRun run = RunScript("tick\n" + limit + "z\ndump\n");
  EXPECT_EQ(run.err, "automation: line 2: longer than 65536 bytes; skipped\n");
  EXPECT_NE(run.out.find("\"dialogs\""), std::string::npos) << "the line after it still runs";
}

TEST(Automation, TrayCommandsAndKeys) {
  const ScriptRun run = RunScript(
      "tray dblclick\ntray rightclick\ntray command 32773\ntray restart\ntray dblclick\n"
      "minimize\nkey escape\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(g_log, (std::vector<std::string>{"tray 1", "tray 2", "tray 0", "menu 0", "tray 0",
                                             "menu 32773", "taskbar created", "tray 1", "tray 2",
                                             "minimized", "command 2 0"}));
  EXPECT_EQ(run.result, IdCancel);
}

TEST(Automation, AHiddenWindowTakesNoUserActionsUntilShown) {
  const ScriptRun run = RunScript("click 12\nkey escape\nclose\ntray dblclick\nclick 12\n", true);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 3) << run.err;
  EXPECT_NE(run.err.find("hidden"), std::string::npos);
  EXPECT_EQ(g_log, (std::vector<std::string>{"tray 1", "tray 2", "command 12 0", "main closed"}));
}

TEST(Automation, RealTimeTimersFireWhileWaitingForInput) {
  RegisterTemplates();
  g_log.clear();
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const char script[] = "dump\n";
    EXPECT_EQ(::write(fds[1], script, sizeof script - 1), static_cast<ssize_t>(sizeof script - 1));
    ::close(fds[1]);
  });
  SteadyClock clock;
  HeadlessBackend backend(clock, TimeMode::Real);
  FdLineSource source(fds[0]);
  std::ostringstream out, err;
  Automation automation(backend, source, out, err);
  backend.SetDriver(&automation);
  SetCurrentBackend(&backend);
  MainDlg main;
  main.DoModal();
  writer.join();
  ::close(fds[0]);
  SetCurrentBackend(nullptr);
  EXPECT_GE(main.ticks, 1);  // a 40 ms timer while the script waited 300 ms
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(nlohmann::json::parse(out.str())["dialogs"].size(), 1u);
}

}  // namespace
}  // namespace platform::window::headless
