// Control semantics of the dialog base, driven through a backend that runs one script per dialog.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/backend.h"
#include "platform/window/dump.h"

namespace platform::window {
namespace {

constexpr int kTemplate = 9001;

enum : int {
  kGo = 10, kCheck, kRadioA1, kRadioA2, kRadioB1, kRadioB2, kSeparator, kRadioC1,
  kDrop = 20, kCombo, kEdit, kList, kTrack, kLabel, kDefault,
};

void RegisterTemplate() {
  DialogTemplate t;
  t.id = kTemplate;
  t.caption = u"Test";
  auto add = [&](int id, ControlKind kind, std::uint32_t style = 0, int limit = 0) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.style = style;
    c.limit = limit;
    c.text = u"t";
    t.controls.push_back(c);
  };
  add(kGo, ControlKind::Button);
  add(kCheck, ControlKind::CheckBox);
  add(kRadioA1, ControlKind::RadioButton, style::GroupStart);
  add(kRadioA2, ControlKind::RadioButton);
  add(kRadioB1, ControlKind::RadioButton, style::GroupStart);
  add(kRadioB2, ControlKind::RadioButton);
  add(kSeparator, ControlKind::Label);
  add(kRadioC1, ControlKind::RadioButton);
  add(kDrop, ControlKind::DropDownList);
  add(kCombo, ControlKind::ComboBox);
  add(kEdit, ControlKind::Edit, 0, 5);
  add(kList, ControlKind::ListView);
  add(kTrack, ControlKind::TrackBar);
  add(kLabel, ControlKind::Label);
  add(kDefault, ControlKind::Button, style::Default);
  add(IdCancel, ControlKind::Button);
  TemplateRegistry::Instance().Add(t);
}

// Runs each dialog's script inside its modal loop, then delivers posted commands, then closes
// the dialog when the script left it open.
class ScriptBackend : public Backend {
 public:
  std::function<void(Dialog&)> script;
  std::vector<std::pair<Dialog*, int>> posted;

  void RunModal(Dialog& d) override {
    if (script) script(d);
    while (!EndRequested(d) && !posted.empty()) {
      auto [target, command] = posted.front();
      posted.erase(posted.begin());
      target->OnCommand(command, CommandCode::Menu);
    }
    if (!EndRequested(d)) d.EndDialog(-7);
  }
  std::unique_ptr<DialogView> CreateView(Dialog&) override { return nullptr; }
  MessageResult ShowMessageBox(Dialog*, std::u16string_view, std::u16string_view, MessageButtons,
                               MessageIcon) override {
    return MessageResult::Ok;
  }
  Tray& TrayIcon() override { throw std::logic_error("no tray"); }
  void TimersChanged(Dialog&) override {}
  void Post(Dialog& d, int command) override { posted.emplace_back(&d, command); }
};

class RecordingDialog : public Dialog {
 public:
  RecordingDialog() : Dialog(kTemplate) {}
  std::vector<std::string> events;
  bool swallowKeys = false;

  void OnCommand(int id, CommandCode code) override {
    events.push_back("command " + std::to_string(id) + " " + std::to_string(static_cast<int>(code)));
    Dialog::OnCommand(id, code);
  }
  int OnNotify(int id, ListEvent event, int row) override {
    events.push_back("notify " + std::to_string(id) + " " + std::to_string(static_cast<int>(event)) +
                     " " + std::to_string(row));
    return 0;
  }
  void OnHScroll(int id, int position) override {
    events.push_back("hscroll " + std::to_string(id) + " " + std::to_string(position));
  }
  void OnSysCommand(unsigned command, int position) override {
    events.push_back("sys " + std::to_string(command) + (position != 0 ? " mouse" : " keyboard"));
    Dialog::OnSysCommand(command, position);
  }
  void OnClose() override {
    events.push_back("close");
    Dialog::OnClose();
  }
  bool PreTranslateKey(int key) override { return swallowKeys && key != 0; }
};

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTemplate();
    SetCurrentBackend(&backend);
  }
  void TearDown() override { SetCurrentBackend(nullptr); }
  // Runs `body` inside an open dialog whose combo, list and track bar have content.
  int Run(RecordingDialog& d, const std::function<void(RecordingDialog&)>& body) {
    backend.script = [&](Dialog&) {
      for (int id : {kDrop, kCombo}) {
        d.ComboAdd(id, u"alpha");
        d.ComboAdd(id, u"beta");
      }
      d.ListInsertColumn(kList, 0, u"SSID", 80);
      d.ListInsertItem(kList, 0, u"one");
      d.ListInsertItem(kList, 1, u"two");
      d.TrackSetRange(kTrack, 0, 10);
      d.events.clear();
      body(d);
    };
    return d.DoModal();
  }
  ScriptBackend backend;
};

const std::string kClicked = std::to_string(static_cast<int>(CommandCode::Clicked));
const std::string kSelChange = std::to_string(static_cast<int>(CommandCode::SelChange));
const std::string kEditChange = std::to_string(static_cast<int>(CommandCode::EditChange));

struct ActionCase {
  const char* name;
  int id;
  std::function<void(Dialog&)> act;
  std::string event;                           // what an enabled, visible control delivers
  std::function<bool(const Dialog&)> changed;  // the state the action leaves
};

TEST_F(DialogTest, UserActionsNotifyOnlyEnabledVisibleControls) {
  const std::vector<ActionCase> cases = {
      {"button", kGo, [](Dialog& d) { d.UserClick(kGo); }, "command 10 " + kClicked,
       [](const Dialog&) { return true; }},
      {"check box", kCheck, [](Dialog& d) { d.UserClick(kCheck); }, "command 11 " + kClicked,
       [](const Dialog& d) { return d.GetCheck(kCheck); }},
      {"radio", kRadioA2, [](Dialog& d) { d.UserClick(kRadioA2); }, "command 13 " + kClicked,
       [](const Dialog& d) { return d.GetCheck(kRadioA2); }},
      {"drop-down", kDrop, [](Dialog& d) { d.UserSelect(kDrop, 1); }, "command 20 " + kSelChange,
       [](const Dialog& d) { return d.ComboSelection(kDrop) == 1 && d.GetText(kDrop) == u"beta"; }},
      {"combo", kCombo, [](Dialog& d) { d.UserSelect(kCombo, 0); }, "command 21 " + kSelChange,
       [](const Dialog& d) { return d.GetText(kCombo) == u"alpha"; }},
      {"list click", kList, [](Dialog& d) { d.UserSelect(kList, 1); }, "notify 23 0 1",
       [](const Dialog& d) { return d.ListSelectionMark(kList) == 1; }},
      {"list double click", kList, [](Dialog& d) { d.UserDoubleClick(kList, 0); }, "notify 23 1 0",
       [](const Dialog& d) { return d.ListSelectionMark(kList) == 0; }},
      {"type", kEdit, [](Dialog& d) { d.UserType(kEdit, u"abcdefgh"); }, "command 22 " + kEditChange,
       [](const Dialog& d) { return d.GetText(kEdit) == u"abcde" && d.Caret(kEdit) == 5; }},
      {"scroll", kTrack, [](Dialog& d) { d.UserScroll(kTrack, 40); }, "hscroll 24 10",
       [](const Dialog& d) { return d.TrackPosition(kTrack) == 10; }},
  };
  enum class Setup { Normal, Disabled, Hidden, WindowHidden };
  for (const ActionCase& c : cases) {
    for (Setup setup : {Setup::Normal, Setup::Disabled, Setup::Hidden, Setup::WindowHidden}) {
      SCOPED_TRACE(std::string(c.name) + " setup " + std::to_string(static_cast<int>(setup)));
      RecordingDialog d;
      Run(d, [&](RecordingDialog& dlg) {
        if (setup == Setup::Disabled) dlg.Enable(c.id, false);
        if (setup == Setup::Hidden) dlg.Show(c.id, false);
        if (setup == Setup::WindowHidden) dlg.ShowWindow(false);
        c.act(dlg);
        if (setup == Setup::Normal) {
          EXPECT_EQ(dlg.events, std::vector<std::string>{c.event});
          EXPECT_TRUE(c.changed(dlg));
        } else {
          EXPECT_TRUE(dlg.events.empty());
        }
      });
    }
  }
}

TEST_F(DialogTest, ActionsOutOfRangeOrOnWrongKindsDoNothing) {
  RecordingDialog d;
  Run(d, [](RecordingDialog& dlg) {
    dlg.UserSelect(kDrop, 2);
    dlg.UserSelect(kList, -1);
    dlg.UserDoubleClick(kList, 5);
    dlg.UserClick(kLabel);
    dlg.UserClick(kList);
    dlg.UserType(kDrop, u"x");  // a drop-down list has no edit field
    dlg.UserScroll(kEdit, 3);
    dlg.UserClick(999);
    EXPECT_TRUE(dlg.events.empty());
    EXPECT_EQ(dlg.ComboSelection(kDrop), -1);
  });
}

TEST_F(DialogTest, RadioGroupsRunFromGroupStartToNextGroupStartOrOtherControl) {
  RecordingDialog d;
  Run(d, [](RecordingDialog& dlg) {
    dlg.SetCheck(kRadioA1, true);
    dlg.SetCheck(kRadioB1, true);
    dlg.SetCheck(kRadioC1, true);
    dlg.UserClick(kRadioA2);
    EXPECT_FALSE(dlg.GetCheck(kRadioA1));
    EXPECT_TRUE(dlg.GetCheck(kRadioA2));
    EXPECT_TRUE(dlg.GetCheck(kRadioB1));  // the next GroupStart began another group
    dlg.UserClick(kRadioB2);
    EXPECT_FALSE(dlg.GetCheck(kRadioB1));
    EXPECT_TRUE(dlg.GetCheck(kRadioA2));
    EXPECT_TRUE(dlg.GetCheck(kRadioC1));  // behind a label: a group of its own
    dlg.CheckRadioButton(kRadioA1, kRadioB2, kRadioA1);
    EXPECT_TRUE(dlg.GetCheck(kRadioA1));
    EXPECT_FALSE(dlg.GetCheck(kRadioA2));
    EXPECT_FALSE(dlg.GetCheck(kRadioB2));
  });
}

TEST_F(DialogTest, ComboPrefixSearchIgnoresCaseAndWrapsAround) {
  RecordingDialog d;
  Run(d, [](RecordingDialog& dlg) {
    dlg.ComboReset(kDrop);
    for (auto s : {u"Channel 1", u"channel 11", u"Auto", u"\u00e9t\u00e9"}) dlg.ComboAdd(kDrop, s);
    struct Case { std::u16string prefix; int after; int want; };
    const Case cases[] = {
        {u"CHANNEL", -1, 0}, {u"channel 1", 0, 1}, {u"channel", 1, 0},  // wraps to the top
        {u"auto", 2, 2},     {u"\u00c9T", -1, 3}, {u"x", -1, -1},        {u"", 1, 2},
        {u"Auto", 99, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(dlg.ComboFindPrefix(kDrop, c.prefix, c.after), c.want);
  });
}

TEST_F(DialogTest, ComboAndListKeepTheirSelectionAcrossInserts) {
  RecordingDialog d;
  Run(d, [](RecordingDialog& dlg) {
    dlg.ComboSelect(kDrop, 1);
    EXPECT_EQ(dlg.ComboInsert(kDrop, 0, u"first"), 0);
    EXPECT_EQ(dlg.ComboSelection(kDrop), 2);
    EXPECT_EQ(dlg.ComboInsert(kDrop, 9, u"beyond"), -1);
    dlg.ComboSelect(kDrop, 7);  // outside: clears, as -1 does
    EXPECT_EQ(dlg.ComboSelection(kDrop), -1);
    EXPECT_EQ(dlg.GetText(kDrop), u"");

    dlg.ListSetSelectionMark(kList, 1);
    dlg.ListInsertItem(kList, 0, u"zero");
    EXPECT_EQ(dlg.ListSelectionMark(kList), 2);
    dlg.ListSetItemText(kList, 2, 0, u"TWO");
    dlg.ListSetItemText(kList, 2, 3, u"no such column");
    EXPECT_EQ(dlg.ListItemText(kList, 2, 0), u"TWO");
    EXPECT_EQ(dlg.ListItemText(kList, 2, 3), u"");
    dlg.ListDeleteAllItems(kList);
    EXPECT_EQ(dlg.ListSelectionMark(kList), -1);
  });
}

TEST_F(DialogTest, LimitsCutTextWithoutSplittingSurrogatePairs) {
  RecordingDialog d;
  Run(d, [](RecordingDialog& dlg) {
    dlg.UserType(kEdit, u"abcd\U0001F600");  // the pair would straddle the limit of 5
    EXPECT_EQ(dlg.GetText(kEdit), u"abcd");
    dlg.SetText(kEdit, u"0123456789");  // the program may set more than a user may type
    dlg.LimitText(kEdit, 3);
    EXPECT_EQ(dlg.GetText(kEdit), u"012");
    dlg.LimitText(kEdit, 0);
    dlg.UserType(kEdit, u"0123456789");
    EXPECT_EQ(dlg.GetText(kEdit), u"0123456789");
  });
}

TEST_F(DialogTest, KeysCloseBoxAndTheirDefaults) {
  struct Case {
    const char* name;
    std::function<void(RecordingDialog&)> act;
    std::vector<std::string> events;
    int result;
  };
  const Case cases[] = {
      {"enter presses the default button", [](RecordingDialog& d) { d.UserKey(13); },
       {"command 26 " + kClicked}, -7},
      {"enter without an enabled default button does nothing",
       [](RecordingDialog& d) { d.Enable(kDefault, false); d.UserKey(13); }, {}, -7},
      {"escape cancels", [](RecordingDialog& d) { d.UserKey(27); }, {"command 2 " + kClicked},
       IdCancel},
      {"escape with a disabled cancel button does nothing",
       [](RecordingDialog& d) { d.Enable(IdCancel, false); d.UserKey(27); }, {}, -7},
      {"other keys do nothing", [](RecordingDialog& d) { d.UserKey(32); }, {}, -7},
      {"swallowed escape", [](RecordingDialog& d) { d.swallowKeys = true; d.UserKey(27); }, {}, -7},
      {"close box", [](RecordingDialog& d) { d.UserClose(); }, {"sys 61536 mouse", "close"},
       IdCancel},
      {"close box of a window far off screen",
       [](RecordingDialog& d) { d.MoveWindow(-8, -8); d.UserClose(); },
       {"sys 61536 mouse", "close"}, IdCancel},
      {"minimise box does not end the dialog", [](RecordingDialog& d) { d.UserMinimize(); },
       {"sys 61472 mouse"}, -7},
      {"a hidden window takes no keys or close box",
       [](RecordingDialog& d) { d.ShowWindow(false); d.UserKey(27); d.UserClose(); d.UserMinimize(); },
       {}, -7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDialog d;
    EXPECT_EQ(Run(d, [&](RecordingDialog& dlg) { c.act(dlg); EXPECT_EQ(dlg.events, c.events); }),
              c.result);
  }
}

TEST_F(DialogTest, TemplateStylesAndUnknownTemplate) {
  DialogTemplate t;
  t.id = 9002;
  ControlTemplate edit;
  edit.id = 1;
  edit.kind = ControlKind::Edit;
  edit.text = u"secret";
  edit.style = style::Password | style::Disabled;
  edit.limit = 3;
  ControlTemplate button;
  button.id = 2;
  button.kind = ControlKind::Button;
  button.style = style::Hidden;
  t.controls = {edit, button};
  TemplateRegistry::Instance().Add(t);
  Dialog d(9002);
  backend.script = [](Dialog& dlg) {
    EXPECT_EQ(dlg.GetText(1), u"sec");
    EXPECT_FALSE(dlg.IsEnabled(1));
    EXPECT_FALSE(dlg.IsVisible(2));
    EXPECT_EQ(DumpControl(*dlg.Control(1))["text"], "***");  // secrets stay out of dumps
    dlg.EndDialog(5);
  };
  EXPECT_EQ(d.DoModal(), 5);
  EXPECT_FALSE(d.IsOpen());
  Dialog missing(424242);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(DialogTest, AThrowingHandlerLeavesNoDialogBehindInTheBackend) {
  RecordingDialog d;
  EXPECT_THROW(Run(d, [](RecordingDialog&) { throw std::runtime_error("handler failed"); }),
               std::runtime_error);
  EXPECT_FALSE(d.IsOpen());
  EXPECT_TRUE(backend.OpenDialogs().empty());
}

TEST_F(DialogTest, PostedCommandsWaitForTheHandlerAndDieWithTheirDialog) {
  RecordingDialog d;
  Run(d, [&](RecordingDialog& dlg) {
    dlg.PostCommand(700);
    EXPECT_TRUE(dlg.events.empty());
  });
  EXPECT_EQ(d.events, std::vector<std::string>{"command 700 3"});
}

// Titles announced by open dialogs, as another process would find them.
class FakeTitles : public platform::WindowTitles {
 public:
  std::multiset<std::u16string> live;
  class FakeClaim : public Claim {
   public:
    FakeClaim(FakeTitles& owner, std::u16string title) : owner_(owner), title_(std::move(title)) {
      owner_.live.insert(title_);
    }
    ~FakeClaim() override { owner_.live.erase(owner_.live.find(title_)); }

   private:
    FakeTitles& owner_;
    std::u16string title_;
  };
  std::unique_ptr<Claim> Announce(std::u16string_view title) override {
    return std::make_unique<FakeClaim>(*this, std::u16string(title));
  }
  bool Exists(std::u16string_view title) const override {
    return live.count(std::u16string(title)) != 0;
  }
};

TEST_F(DialogTest, OpenDialogsAnnounceTheirCaptionEvenWhenHidden) {
  FakeTitles titles;
  SetWindowTitles(&titles);
  RecordingDialog d;
  Run(d, [&](RecordingDialog& dlg) {
    EXPECT_TRUE(titles.Exists(u"Test"));
    dlg.ShowWindow(false);
    dlg.SetCaption(u"Renamed");
    EXPECT_FALSE(titles.Exists(u"Test"));
    EXPECT_TRUE(titles.Exists(u"Renamed"));
  });
  EXPECT_TRUE(titles.live.empty());
  SetWindowTitles(nullptr);
}

}  // namespace
}  // namespace platform::window
