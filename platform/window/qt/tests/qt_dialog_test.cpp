// Dialogs as real widgets: every registered template builds and renders, the model reaches the
// widgets without coming back as user actions, the user's input reaches the dialog as the same
// notifications the other backends produce, and the modal loops nest, hide, tick and end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/window/qt/dialog_window.h"
#include "platform/window/qt/qt_text.h"
#include "platform/window/qt/tests/qt_test_env.h"

namespace platform::window {
namespace {

using testing::TestBackend;

enum : int {
  kSettingsTemplate = 9101, kSurveyTemplate, kConfirmTemplate,
  kTitle = 100, kPass, kName, kCancel, kCheck, kRadioA, kRadioB, kDrop, kCombo, kGroup, kLogo,
  kList = 200, kTrack, kProgress, kPercent, kActivity, kRefresh,
  kMessage = 300,
};
constexpr int kRun = 40001;  // the posted command that runs a test's steps inside the loop

ControlTemplate Row(int id, ControlKind kind, DialogRect rect, std::u16string text = u"",
                    std::uint32_t style = 0) {
  ControlTemplate row;
  row.id = id;
  row.kind = kind;
  row.rect = rect;
  row.text = std::move(text);
  row.style = style;
  return row;
}

// Three templates that between them hold every kind of control.
void RegisterTemplates() {
  DialogTemplate settings;
  settings.id = kSettingsTemplate;
  settings.width = 220;
  settings.height = 150;
  settings.caption = u"Network Settings";
  settings.controls = {
      Row(kGroup, ControlKind::GroupBox, {6, 30, 208, 94}, u"Security"),
      Row(kLogo, ControlKind::Picture, {6, 6, 0, 0}),
      Row(kTitle, ControlKind::Label, {32, 10, 182, 9}, u"Configure the network", style::Centered),
      Row(0, ControlKind::Label, {12, 44, 60, 9}, u"Pass phrase:"),
      Row(kPass, ControlKind::Edit, {76, 42, 130, 12}, u"secret", style::Password),
      Row(0, ControlKind::Label, {12, 60, 60, 9}, u"Network name:"),
      Row(kName, ControlKind::Edit, {76, 58, 130, 12}),
      Row(kCheck, ControlKind::CheckBox, {12, 76, 90, 10}, u"Hide the key"),
      Row(kRadioA, ControlKind::RadioButton, {110, 76, 46, 10}, u"64-bit", style::GroupStart),
      Row(kRadioB, ControlKind::RadioButton, {160, 76, 46, 10}, u"128-bit"),
      Row(kDrop, ControlKind::DropDownList, {12, 92, 90, 60}),
      Row(kCombo, ControlKind::ComboBox, {110, 92, 96, 60}),
      Row(IdOk, ControlKind::Button, {110, 130, 50, 14}, u"OK", style::Default),
      Row(kCancel, ControlKind::Button, {164, 130, 50, 14}, u"Cancel"),
  };
  settings.controls[1].icon = 128;
  settings.controls[5].limit = 32;
  TemplateRegistry::Instance().Add(settings);

  DialogTemplate survey;
  survey.id = kSurveyTemplate;
  survey.width = 200;
  survey.height = 160;
  survey.caption = u"Site Survey";
  survey.controls = {
      Row(kList, ControlKind::ListView, {6, 6, 188, 80}, u"", style::SingleSelection),
      Row(0, ControlKind::Label, {6, 94, 50, 9}, u"Signal:"),
      Row(kProgress, ControlKind::ProgressBar, {60, 94, 100, 9}),
      Row(kPercent, ControlKind::Label, {166, 94, 28, 9}, u"0%"),
      Row(0, ControlKind::Label, {6, 112, 50, 9}, u"Threshold:"),
      Row(kTrack, ControlKind::TrackBar, {60, 108, 134, 18}),
      Row(kActivity, ControlKind::Picture, {6, 136, 0, 0}),
      Row(kRefresh, ControlKind::Button, {144, 140, 50, 14}, u"&Refresh", style::Default),
  };
  survey.controls[6].icon = 175;
  TemplateRegistry::Instance().Add(survey);

  DialogTemplate confirm;
  confirm.id = kConfirmTemplate;
  confirm.width = 120;
  confirm.height = 50;
  confirm.caption = u"Confirm";
  confirm.controls = {
      Row(kMessage, ControlKind::Label, {6, 6, 108, 20}, u"Apply the settings now?"),
      Row(IdOk, ControlKind::Button, {64, 30, 50, 14}, u"OK", style::Default),
  };
  TemplateRegistry::Instance().Add(confirm);
}

// A dialog that records its notifications and runs the test's steps from inside its loop.
class ScriptedDialog : public Dialog {
 public:
  explicit ScriptedDialog(int templateId) : Dialog(templateId) {}

  std::function<void(ScriptedDialog&)> init;
  std::function<void(ScriptedDialog&)> run;                // posted once the loop runs
  std::function<void(ScriptedDialog&, int)> menu;          // other posted commands
  std::function<void(ScriptedDialog&, int)> timer;
  std::vector<int> swallowKeys;
  std::vector<std::string> log;

  bool OnInitDialog() override {
    if (init) init(*this);
    if (run) PostCommand(kRun);
    return true;
  }
  void OnCommand(int id, CommandCode code) override {
    if (code == CommandCode::Menu) {
      if (id == kRun) {
        run(*this);
      } else {
        log.push_back("posted " + std::to_string(id));
        if (menu) menu(*this, id);
      }
      return;
    }
    log.push_back("command " + std::to_string(id) + " " + CodeName(code));
    Dialog::OnCommand(id, code);
  }
  int OnNotify(int id, ListEvent event, int row) override {
    log.push_back("notify " + std::to_string(id) +
                  (event == ListEvent::Click ? " click " : " double ") + std::to_string(row));
    return 0;
  }
  void OnHScroll(int id, int position) override {
    log.push_back("scroll " + std::to_string(id) + " " + std::to_string(position));
  }
  void OnSysCommand(unsigned command, int position) override {
    log.push_back("syscommand " + std::to_string(command) + (position ? " mouse" : " keyboard"));
    Dialog::OnSysCommand(command, position);
  }
  void OnTimer(int timerId) override {
    if (timer) timer(*this, timerId);
  }
  bool PreTranslateKey(int key) override {
    log.push_back("key " + std::to_string(key));
    return std::find(swallowKeys.begin(), swallowKeys.end(), key) != swallowKeys.end();
  }

  DialogWindow& Window() const { return *TestBackend().WindowOf(*this); }
  template <typename W>
  W* Widget(int id) const {
    auto* widget = qobject_cast<W*>(Window().Widget(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
  }

 private:
  static std::string CodeName(CommandCode code) {
    switch (code) {
      case CommandCode::Clicked:
        return "clicked";
      case CommandCode::SelChange:
        return "selchange";
      case CommandCode::EditChange:
        return "editchange";
      case CommandCode::Menu:
        return "menu";
    }
    return "?";
  }
};

// Gives every control something to show, whatever template it belongs to.
void FillControls(Dialog& dialog) {
  for (const ControlState& control : dialog.Controls()) {
    const int id = control.id;
    switch (control.kind) {
      case ControlKind::DropDownList:
      case ControlKind::ComboBox:
        for (const char16_t* entry : {u"Infrastructure", u"Ad hoc", u"Access point"}) {
          dialog.ComboAdd(id, entry);
        }
        dialog.ComboSelect(id, 0);
        break;
      case ControlKind::ListView:
        dialog.ListInsertColumn(id, 0, u"Network", 120);
        dialog.ListInsertColumn(id, 1, u"Channel", 60);
        dialog.ListInsertColumn(id, 2, u"Signal", 60);
        for (const auto& [row, name, channel, signal] :
             {std::tuple{0, u"Office", u"1", u"72%"}, std::tuple{1, u"Lab", u"6", u"54%"},
              std::tuple{2, u"Guest", u"11", u"31%"}}) {
          dialog.ListInsertItem(id, row, name);
          dialog.ListSetItemText(id, row, 1, channel);
          dialog.ListSetItemText(id, row, 2, signal);
        }
        dialog.ListSetFullRowSelect(id, true);
        dialog.ListSetSelectionMark(id, 1);
        break;
      case ControlKind::TrackBar:
        dialog.TrackSetRange(id, 0, 10);
        dialog.TrackSetTickFrequency(id, 1);
        dialog.TrackSetPosition(id, 4);
        break;
      case ControlKind::ProgressBar:
        dialog.ProgressSetRange(id, 0, 100);
        dialog.ProgressSetPosition(id, 72);
        break;
      case ControlKind::CheckBox:
        dialog.SetCheck(id, true);
        break;
      case ControlKind::Label:
      case ControlKind::Edit:
      case ControlKind::Button:
      case ControlKind::RadioButton:
      case ControlKind::GroupBox:
      case ControlKind::Picture:
        break;
    }
  }
}

class QtDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterTemplates(); }
  // Minimising and placing windows is up to a desktop's window manager, if it has one; the
  // offscreen platform does both at once and exactly.
  static bool WindowManagerDecides() {
    return QGuiApplication::platformName() != QStringLiteral("offscreen");
  }
};

TEST_F(QtDialogTest, EveryTemplateRendersWithControlsPlacedInDialogUnits) {
  const QString folder = QStringLiteral(VZ_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  for (const int id : TemplateRegistry::Instance().Ids()) {
    SCOPED_TRACE("template " + std::to_string(id));
    const DialogTemplate& tmpl = *TemplateRegistry::Instance().Find(id);
    ScriptedDialog dialog(id);
    dialog.init = FillControls;
    dialog.run = [&](ScriptedDialog& d) {
      DialogWindow& window = d.Window();
      const DialogUnits& units = window.Units();
      EXPECT_EQ(window.size(), QSize(units.X(tmpl.width), units.Y(tmpl.height)));
      EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed size
      EXPECT_EQ(window.windowTitle(), ToQString(tmpl.caption));
      for (const ControlTemplate& row : tmpl.controls) {
        if (row.id <= 0) continue;
        const QRect expected = units.Rect(row.rect);
        const QRect actual = window.Widget(row.id)->geometry();
        EXPECT_EQ(actual.topLeft(), expected.topLeft()) << "control " << row.id;
        if (row.kind == ControlKind::Picture) {
          EXPECT_EQ(actual.size(), QSize(32, 32)) << "control " << row.id;
        } else if (row.kind == ControlKind::DropDownList || row.kind == ControlKind::ComboBox) {
          EXPECT_EQ(actual.width(), expected.width()) << "control " << row.id;
        } else {
          EXPECT_EQ(actual.size(), expected.size()) << "control " << row.id;
        }
      }
      const QImage image = window.grab().toImage();
      ASSERT_FALSE(image.isNull());
      EXPECT_EQ(image.size(), window.size() * image.devicePixelRatio());
      // Something was drawn besides the background: the image has many colours.
      QSet<QRgb> colours;
      for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
      }
      EXPECT_GT(colours.size(), 8);
      EXPECT_TRUE(image.save(folder + QStringLiteral("/template_%1.png").arg(id)));
      d.EndDialog(IdOk);
    };
    EXPECT_EQ(dialog.DoModal(), IdOk);
  }
}

TEST_F(QtDialogTest, ModelChangesReachWidgetsWithoutComingBackAsUserActions) {
  ScriptedDialog dialog(kSettingsTemplate);
  dialog.run = [](ScriptedDialog& d) {
    d.SetText(kTitle, u"<b>Not markup</b> &Tx && Rx&");
    d.SetText(kName, u"office");
    d.SetCaret(kName, 2);
    d.LimitText(kName, 4);
    d.Enable(kPass, false);
    d.Show(kCancel, false);
    d.SetCheck(kCheck, true);
    d.CheckRadioButton(kRadioA, kRadioB, kRadioB);
    d.ComboAdd(kDrop, u"one");
    d.ComboAdd(kDrop, u"two");
    d.ComboSelect(kDrop, 1);
    d.ComboAdd(kCombo, u"alpha");
    d.SetText(kCombo, u"typed");
    d.SetCaption(u"Renamed");

    auto* title = d.Widget<QLabel>(kTitle);
    EXPECT_EQ(title->text(), QStringLiteral("<b>Not markup</b> Tx & Rx"));
    EXPECT_EQ(title->textFormat(), Qt::PlainText);
    EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
    auto* name = d.Widget<QLineEdit>(kName);
    EXPECT_EQ(name->text(), QStringLiteral("offi"));
    EXPECT_EQ(name->maxLength(), 4);
    EXPECT_EQ(name->cursorPosition(), 2);
    auto* pass = d.Widget<QLineEdit>(kPass);
    EXPECT_EQ(pass->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(pass->isEnabled());
    EXPECT_TRUE(d.Widget<QPushButton>(kCancel)->isHidden());
    EXPECT_TRUE(d.Widget<QPushButton>(IdOk)->isDefault());
    EXPECT_TRUE(d.Widget<QCheckBox>(kCheck)->isChecked());
    EXPECT_FALSE(d.Widget<QRadioButton>(kRadioA)->isChecked());
    EXPECT_TRUE(d.Widget<QRadioButton>(kRadioB)->isChecked());
    auto* drop = d.Widget<QComboBox>(kDrop);
    EXPECT_FALSE(drop->isEditable());
    EXPECT_EQ(drop->count(), 2);
    EXPECT_EQ(drop->currentIndex(), 1);
    auto* combo = d.Widget<QComboBox>(kCombo);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->currentText(), QStringLiteral("typed"));
    EXPECT_EQ(d.Window().windowTitle(), QStringLiteral("Renamed"));
    EXPECT_TRUE(d.Window().windowIcon().isNull());
    d.SetBigIcon(128);
    EXPECT_FALSE(d.Window().windowIcon().isNull());
    d.EndDialog(IdOk);
  };
  dialog.DoModal();
  EXPECT_TRUE(dialog.log.empty()) << dialog.log.front();
}

TEST_F(QtDialogTest, ListTrackAndProgressFollowTheModel) {
  ScriptedDialog dialog(kSurveyTemplate);
  dialog.init = FillControls;
  dialog.run = [](ScriptedDialog& d) {
    auto* list = d.Widget<QTreeWidget>(kList);
    EXPECT_EQ(list->columnCount(), 3);
    EXPECT_EQ(list->columnWidth(0), 120);  // list columns are in pixels
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Channel"));
    EXPECT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("11"));
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 1);
    EXPECT_FALSE(list->rootIsDecorated());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);

    d.ListDeleteAllItems(kList);
    d.ListInsertItem(kList, 0, u"Only");
    EXPECT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->selectedItems().size(), 0);
    d.ListSetSelectionMark(kList, 0);
    EXPECT_TRUE(list->topLevelItem(0)->isSelected());

    auto* track = d.Widget<QSlider>(kTrack);
    EXPECT_EQ(track->maximum(), 10);
    EXPECT_EQ(track->value(), 4);
    d.TrackSetPageSize(kTrack, 3);
    d.TrackSetPosition(kTrack, 50);  // clamped by the model
    EXPECT_EQ(track->pageStep(), 3);
    EXPECT_EQ(track->value(), 10);
    EXPECT_EQ(track->tickPosition(), QSlider::TicksBelow);

    auto* progress = d.Widget<QProgressBar>(kProgress);
    EXPECT_EQ(progress->value(), 72);
    EXPECT_FALSE(progress->isTextVisible());
    d.ProgressSetRange(kProgress, 0, 0);  // an empty range shows an empty bar, not a busy one
    EXPECT_EQ(progress->maximum(), 1);
    EXPECT_EQ(progress->value(), 0);

    d.SetPictureIcon(kActivity, 176);
    EXPECT_FALSE(d.Widget<QLabel>(kActivity)->pixmap().isNull());
    d.EndDialog(IdOk);
  };
  dialog.DoModal();
  EXPECT_TRUE(dialog.log.empty()) << dialog.log.front();
}

TEST_F(QtDialogTest, UserInputReachesTheDialogAsItsNotifications) {
  ScriptedDialog dialog(kSettingsTemplate);
  dialog.init = FillControls;
  dialog.run = [](ScriptedDialog& d) {
    d.SetCheck(kCheck, false);
    d.CheckRadioButton(kRadioA, kRadioB, kRadioA);
    QTest::mouseClick(d.Widget<QCheckBox>(kCheck), Qt::LeftButton);
    QTest::mouseClick(d.Widget<QRadioButton>(kRadioB), Qt::LeftButton);
    QTest::mouseClick(d.Widget<QRadioButton>(kRadioB), Qt::LeftButton);  // stays checked
    QTest::mouseClick(d.Widget<QPushButton>(kCancel), Qt::LeftButton);
    QTest::keyClicks(d.Widget<QLineEdit>(kName), "lab");
    QTest::keyClick(d.Widget<QComboBox>(kDrop), Qt::Key_Down);
    EXPECT_TRUE(d.GetCheck(kCheck));
    EXPECT_FALSE(d.GetCheck(kRadioA));
    EXPECT_TRUE(d.GetCheck(kRadioB));
    EXPECT_FALSE(d.Widget<QRadioButton>(kRadioA)->isChecked());
    EXPECT_TRUE(d.Widget<QRadioButton>(kRadioB)->isChecked());
    EXPECT_EQ(d.GetText(kName), u"lab");
    EXPECT_EQ(d.ComboSelection(kDrop), 1);

    // A disabled control's input never reaches the dialog.
    d.Enable(kCancel, false);
    QTest::mouseClick(d.Widget<QPushButton>(kCancel), Qt::LeftButton);
    d.EndDialog(IdOk);
  };
  dialog.DoModal();
  const std::vector<std::string> expected = {
      "command 104 clicked",    "command 106 clicked",    "command 106 clicked",
      "command 103 clicked",    "command 102 editchange", "command 102 editchange",
      "command 102 editchange", "command 107 selchange",
  };
  EXPECT_EQ(dialog.log, expected);
}

TEST_F(QtDialogTest, TypingInTheMiddleKeepsTheCaretWhereTheUserIsTyping) {
  ScriptedDialog dialog(kSettingsTemplate);
  dialog.init = [](ScriptedDialog& d) { d.SetText(kName, u"ace"); };
  dialog.run = [](ScriptedDialog& d) {
    auto* name = d.Widget<QLineEdit>(kName);
    name->setFocus();
    name->setCursorPosition(1);
    QTest::keyClick(name, Qt::Key_B);
    QTest::keyClick(name, Qt::Key_C);
    EXPECT_EQ(d.GetText(kName), u"abcce");
    EXPECT_EQ(name->text(), QStringLiteral("abcce"));
    EXPECT_EQ(name->cursorPosition(), 3);
    d.EndDialog(IdOk);
  };
  dialog.DoModal();
}

TEST_F(QtDialogTest, ListAndTrackBarInputNotifies) {
  ScriptedDialog dialog(kSurveyTemplate);
  dialog.init = FillControls;
  dialog.run = [](ScriptedDialog& d) {
    auto* list = d.Widget<QTreeWidget>(kList);
    const QPoint third = list->visualItemRect(list->topLevelItem(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(d.ListSelectionMark(kList), 2);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(d.ListSelectionMark(kList), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third);
    QTest::keyClick(d.Widget<QSlider>(kTrack), Qt::Key_Right);
    d.EndDialog(IdOk);
  };
  dialog.DoModal();
  ASSERT_GE(dialog.log.size(), 4u);
  EXPECT_EQ(dialog.log[0], "notify 200 click 2");
  EXPECT_EQ(dialog.log[1], "notify 200 click 1");
  EXPECT_NE(std::find(dialog.log.begin(), dialog.log.end(), "notify 200 double 2"),
            dialog.log.end());
  EXPECT_EQ(dialog.log.back(), "scroll 201 5");
}

TEST_F(QtDialogTest, EnterEscapeAndCloseBoxGoThroughTheDialog) {
  struct Case {
    const char* name;
    std::function<void(ScriptedDialog&)> act;
    std::vector<int> swallow;
    int result;  // -1: the dialog stays open
    std::vector<std::string> log;
  };
  const auto key = [](Qt::Key k) {
    return [k](ScriptedDialog& d) { QTest::keyClick(d.Widget<QLineEdit>(kName), k); };
  };
  const std::vector<Case> cases = {
      {"enter presses the default button", key(Qt::Key_Return), {}, IdOk,
       {"key 13", "command 1 clicked"}},
      {"keypad enter too", key(Qt::Key_Enter), {}, IdOk, {"key 13", "command 1 clicked"}},
      {"escape cancels", key(Qt::Key_Escape), {}, IdCancel, {"key 27", "command 2 clicked"}},
      {"a swallowed escape does nothing", key(Qt::Key_Escape), {27}, -1, {"key 27"}},
      {"enter on a focused button presses it",
       [](ScriptedDialog& d) { QTest::keyClick(d.Widget<QPushButton>(kCancel), Qt::Key_Return); },
       {}, -1, {"key 13", "command 103 clicked"}},
      {"unless the dialog swallows enter",
       [](ScriptedDialog& d) { QTest::keyClick(d.Widget<QPushButton>(kCancel), Qt::Key_Return); },
       {13}, -1, {"key 13"}},
      {"escape on a focused button still cancels",
       [](ScriptedDialog& d) { QTest::keyClick(d.Widget<QPushButton>(kCancel), Qt::Key_Escape); },
       {}, IdCancel, {"key 27", "command 2 clicked"}},
      {"the close box asks the dialog", [](ScriptedDialog& d) { d.Window().close(); }, {},
       IdCancel, {"syscommand 61536 mouse"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialog dialog(kSettingsTemplate);
    dialog.swallowKeys = c.swallow;
    dialog.run = [&](ScriptedDialog& d) {
      c.act(d);
      if (!d.IsOpen() || c.result != -1) return;
      d.EndDialog(-1);
    };
    EXPECT_EQ(dialog.DoModal(), c.result);
    EXPECT_EQ(dialog.log, c.log);
  }
}

TEST_F(QtDialogTest, HiddenDialogsKeepTheirLoopsAndNestedDialogsNest) {
  std::vector<std::string> steps;
  ScriptedDialog outer(kSurveyTemplate);
  outer.init = [](ScriptedDialog& d) { d.ShowWindow(false); };  // the main window behind the tray
  outer.run = [&](ScriptedDialog& d) {
    DialogWindow& window = d.Window();
    EXPECT_FALSE(window.isVisible());
    ScriptedDialog inner(kConfirmTemplate);
    inner.run = [&](ScriptedDialog& i) {
      EXPECT_TRUE(i.Window().isVisible());
      EXPECT_EQ(i.Window().parentWidget(), &window);
      EXPECT_EQ(TestBackend().OpenDialogs().size(), 2u);
      i.ShowWindow(false);  // a shown dialog hidden in its loop keeps running
      EXPECT_FALSE(i.Window().isVisible());
      i.PostCommand(kMessage);
    };
    inner.menu = [&](ScriptedDialog& i, int) {
      steps.push_back("inner posted");
      i.EndDialog(5);
    };
    EXPECT_EQ(inner.DoModal(), 5);
    steps.push_back("after inner");
    d.ShowWindow(true);
    EXPECT_TRUE(window.isVisible());
    d.ShowWindow(false);
    EXPECT_FALSE(window.isVisible());
    d.PostCommand(kMessage);
  };
  outer.menu = [&](ScriptedDialog& d, int) {
    steps.push_back("outer posted");
    d.EndDialog(7);
  };
  EXPECT_EQ(outer.DoModal(), 7);
  EXPECT_EQ(steps, (std::vector<std::string>{"inner posted", "after inner", "outer posted"}));
}

TEST_F(QtDialogTest, MinimiseBoxOfTheMainWindowAsksTheDialog) {
  if (WindowManagerDecides()) GTEST_SKIP() << "needs the offscreen platform";
  // A tray program's main window hides when minimised, and comes back restored.
  struct TrayWindow : ScriptedDialog {
    using ScriptedDialog::ScriptedDialog;
    void OnSysCommand(unsigned command, int position) override {
      ScriptedDialog::OnSysCommand(command, position);
      if (command == ScMinimize && position != 0) ShowWindow(false);
    }
  };
  TrayWindow dialog(kSurveyTemplate);
  dialog.run = [](ScriptedDialog& d) {
    DialogWindow& window = d.Window();
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    // As the desktop reports a click on the minimise box: through the platform window.
    window.windowHandle()->setWindowStates(Qt::WindowMinimized);
    for (int i = 0; i < 50 && d.IsWindowVisible(); ++i) QTest::qWait(5);
    EXPECT_FALSE(d.IsWindowVisible());
    EXPECT_FALSE(window.isVisible());
    d.ShowWindow(true);
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());

    ScriptedDialog inner(kConfirmTemplate);  // nested dialogs have no minimise box
    inner.run = [](ScriptedDialog& i) {
      EXPECT_FALSE(i.Window().windowFlags() & Qt::WindowMinimizeButtonHint);
      i.EndDialog(IdOk);
    };
    inner.DoModal();
    d.EndDialog(IdOk);
  };
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"syscommand 61472 mouse"}));
}

TEST_F(QtDialogTest, WindowMovesAndCentresOverItsOwnerOrTheScreen) {
  if (WindowManagerDecides()) GTEST_SKIP() << "needs the offscreen platform";
  const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 1; };
  ScriptedDialog outer(kSurveyTemplate);
  outer.run = [&](ScriptedDialog& d) {
    DialogWindow& window = d.Window();
    d.MoveWindow(40, 50);
    EXPECT_EQ(window.pos(), QPoint(40, 50));
    d.CenterWindow();
    EXPECT_TRUE(
        near(window.frameGeometry().center(), window.screen()->availableGeometry().center()));

    ScriptedDialog inner(kConfirmTemplate);
    inner.init = [](ScriptedDialog& i) { i.CenterWindow(); };
    inner.run = [&](ScriptedDialog& i) {
      EXPECT_TRUE(near(i.Window().frameGeometry().center(), window.frameGeometry().center()));
      i.EndDialog(IdOk);
    };
    inner.DoModal();
    d.EndDialog(IdOk);
  };
  outer.DoModal();
}

TEST_F(QtDialogTest, AnInnerHandlerCanEndTheOuterDialog) {
  ScriptedDialog outer(kSurveyTemplate);
  outer.run = [&](ScriptedDialog&) {
    ScriptedDialog inner(kConfirmTemplate);
    inner.run = [&](ScriptedDialog& i) {
      outer.EndDialog(9);  // closing the whole chain, innermost first
      i.EndDialog(IdCancel);
    };
    EXPECT_EQ(inner.DoModal(), IdCancel);
  };
  EXPECT_EQ(outer.DoModal(), 9);
}

TEST_F(QtDialogTest, MessageBoxBelongsToItsDialogAndTimersGoOnBehindIt) {
  ScriptedDialog dialog(kConfirmTemplate);
  int ticks = 0;
  dialog.init = [](ScriptedDialog& d) { d.SetTimer(1, std::chrono::milliseconds(5)); };
  dialog.timer = [&](ScriptedDialog&, int) { ++ticks; };
  dialog.run = [&](ScriptedDialog& d) {
    const QWidget* parent = nullptr;
    QTimer::singleShot(30, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      parent = box->parentWidget();
      box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(d.MessageBox(u"Use the previous setting?", u"Question", MessageButtons::YesNo,
                           MessageIcon::Question),
              MessageResult::No);
    EXPECT_EQ(parent, &d.Window());
    EXPECT_GT(ticks, 0);
    d.EndDialog(IdOk);
  };
  EXPECT_EQ(dialog.DoModal(), IdOk);
}

TEST_F(QtDialogTest, PostedCommandsArriveInOrderAfterTheHandlerAndNeverAfterTheEnd) {
  ScriptedDialog dialog(kConfirmTemplate);
  dialog.init = [](ScriptedDialog& d) {
    d.PostCommand(1001);
    d.PostCommand(1002);
  };
  dialog.menu = [](ScriptedDialog& d, int command) {
    if (command == 1001) {
      d.PostCommand(1003);
      d.log.push_back("end of 1001");
    }
    if (command == 1003) {
      d.PostCommand(1004);  // queued for a dialog that ends now: dropped
      d.EndDialog(IdOk);
    }
  };
  EXPECT_EQ(dialog.DoModal(), IdOk);
  QCoreApplication::processEvents();
  const std::vector<std::string> expected = {"posted 1001", "end of 1001", "posted 1002",
                                             "posted 1003"};
  EXPECT_EQ(dialog.log, expected);
}

TEST_F(QtDialogTest, TimersTickUntilKilledAndStopWithTheDialog) {
  ScriptedDialog dialog(kConfirmTemplate);
  int fast = 0;
  dialog.init = [](ScriptedDialog& d) { d.SetTimer(1, std::chrono::milliseconds(5)); };
  dialog.timer = [&](ScriptedDialog& d, int timerId) {
    if (timerId == 1 && ++fast == 3) {
      d.KillTimer(1);
      d.SetTimer(2, std::chrono::milliseconds(60));
    } else if (timerId == 2) {
      d.EndDialog(fast);
    }
  };
  EXPECT_EQ(dialog.DoModal(), 3);  // no tick of timer 1 after it was killed
  QTest::qWait(20);
  EXPECT_EQ(fast, 3);
}

}  // namespace
}  // namespace platform::window
