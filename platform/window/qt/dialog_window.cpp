#include "platform/window/qt/dialog_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <limits>
#include <optional>

#include "platform/window/qt/icons.h"
#include "platform/window/qt/qt_backend.h"
#include "platform/window/qt/qt_text.h"

namespace platform::window {
namespace {

constexpr int kVkReturn = 13;
constexpr int kVkEscape = 27;
constexpr int kIconSize = 32;
// An edit box takes this many characters when the dialog sets no limit.
constexpr int kDefaultEditLimit = 30000;

QStringList ToQStrings(const std::vector<std::u16string>& texts) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(texts.size()));
  for (const auto& text : texts) list.push_back(ToQString(text));
  return list;
}

bool SameColumns(const std::vector<ListColumn>& a, const std::vector<ListColumn>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].title != b[i].title || a[i].width != b[i].width) return false;
  }
  return true;
}

void ApplyEdit(QLineEdit* edit, const ControlState& state, const ControlState& shown) {
  const QLineEdit::EchoMode echo = state.password ? QLineEdit::Password : QLineEdit::Normal;
  if (edit->echoMode() != echo) edit->setEchoMode(echo);
  // Setting the text or the limit (which sets the text again) moves the caret, so neither is
  // touched while the widget already shows them: the user's caret stays where the user put it.
  const int limit = state.limit > 0 ? state.limit : kDefaultEditLimit;
  if (edit->maxLength() != limit || edit->text() != ToQString(state.text)) {
    edit->setMaxLength(limit);
    edit->setText(ToQString(state.text));
    edit->setCursorPosition(state.caret);
  } else if (state.caret != shown.caret) {
    edit->setCursorPosition(state.caret);
  }
}

void ApplyList(QTreeWidget* tree, const ControlState& state, const ControlState& shown) {
  if (!SameColumns(state.columns, shown.columns)) {
    tree->setColumnCount(static_cast<int>(state.columns.size()));
    QStringList titles;
    for (const ListColumn& column : state.columns) titles.push_back(ToQString(column.title));
    tree->setHeaderLabels(titles);
    for (std::size_t i = 0; i < state.columns.size(); ++i) {
      tree->setColumnWidth(static_cast<int>(i), state.columns[i].width);
    }
  }
  if (state.rows != shown.rows || !SameColumns(state.columns, shown.columns)) {
    const int rows = static_cast<int>(state.rows.size());
    while (tree->topLevelItemCount() > rows) delete tree->takeTopLevelItem(rows);
    while (tree->topLevelItemCount() < rows) tree->addTopLevelItem(new QTreeWidgetItem());
    for (int r = 0; r < rows; ++r) {
      QTreeWidgetItem* item = tree->topLevelItem(r);
      const auto& texts = state.rows[static_cast<std::size_t>(r)];
      for (int c = 0; c < tree->columnCount(); ++c) {
        const auto cell = static_cast<std::size_t>(c);
        item->setText(c, cell < texts.size() ? ToQString(texts[cell]) : QString());
      }
    }
  }
  const int selected = tree->currentItem() && tree->currentItem()->isSelected()
                           ? tree->indexOfTopLevelItem(tree->currentItem())
                           : -1;
  if (selected != state.selection) {
    if (state.selection >= 0 && state.selection < tree->topLevelItemCount()) {
      QTreeWidgetItem* item = tree->topLevelItem(state.selection);
      tree->setCurrentItem(item);
      tree->scrollToItem(item);
    } else {
      tree->clearSelection();
      tree->setCurrentItem(nullptr);
    }
  }
}

void ApplyCombo(QComboBox* combo, const ControlState& state, const ControlState& shown) {
  if (state.items != shown.items || combo->count() != static_cast<int>(state.items.size())) {
    combo->clear();
    combo->addItems(ToQStrings(state.items));
  }
  const int selection = state.selection < combo->count() ? state.selection : -1;
  if (combo->currentIndex() != selection) combo->setCurrentIndex(selection);
  if (combo->isEditable() && combo->currentText() != ToQString(state.text)) {
    combo->setEditText(ToQString(state.text));
  }
}

void ApplySlider(QSlider* slider, const ControlState& state) {
  slider->setRange(state.rangeMin, std::max(state.rangeMin, state.rangeMax));
  slider->setValue(state.position);
  slider->setTickInterval(std::max(0, state.tickFrequency));
  // Without a page size the platform pages by a fifth of the range.
  const int page = state.pageSize > 0 ? state.pageSize : (state.rangeMax - state.rangeMin) / 5;
  slider->setPageStep(std::max(1, page));
}

void ApplyProgress(QProgressBar* bar, const ControlState& state) {
  // An empty range would turn the bar into a busy indicator; the platform shows it empty.
  if (state.rangeMax <= state.rangeMin) {
    bar->setRange(0, 1);
    bar->setValue(0);
    return;
  }
  bar->setRange(state.rangeMin, state.rangeMax);
  bar->setValue(std::clamp(state.position, state.rangeMin, state.rangeMax));
}

}  // namespace

DialogWindow::DialogWindow(QtBackend& backend, Dialog& dialog, const DialogTemplate& tmpl,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          // The outermost dialog is the program's main window: it can be
                          // minimised (which sends it back to the tray).
                          (parent ? Qt::WindowFlags() : Qt::WindowMinimizeButtonHint)),
      backend_(backend),
      dialog_(dialog),
      units_(DialogUnits::ForFont(DialogFont(tmpl))) {
  setFont(DialogFont(tmpl));
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(units_.X(tmpl.width), units_.Y(tmpl.height));
  Build(tmpl);
  backend_.Register(this);
  WindowChanged();
  SyncTimers();
}

DialogWindow::~DialogWindow() { backend_.Unregister(this); }

QWidget* DialogWindow::Widget(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.widget;
}

void DialogWindow::Build(const DialogTemplate& tmpl) {
  std::vector<QWidget*> frames;
  for (const ControlTemplate& row : tmpl.controls) {
    QWidget* widget = CreateWidget(row);
    QRect rect = units_.Rect(row.rect);
    switch (row.kind) {
      case ControlKind::DropDownList:
      case ControlKind::ComboBox:
        // The template's height is the open list's; the closed box has its natural height.
        rect.setHeight(widget->sizeHint().height());
        break;
      case ControlKind::Picture:
        rect.setSize(QSize(kIconSize, kIconSize));
        break;
      case ControlKind::Label:
      case ControlKind::Edit:
      case ControlKind::Button:
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
      case ControlKind::ListView:
      case ControlKind::TrackBar:
      case ControlKind::ProgressBar:
      case ControlKind::GroupBox:
        if (rect.height() <= 0) rect.setHeight(widget->sizeHint().height());
        break;
    }
    widget->setGeometry(rect);
    if (row.kind == ControlKind::GroupBox) frames.push_back(widget);
    if (row.id > 0) {
      controls_.emplace(row.id, Control{row.kind, widget, ControlState{}});
      Connect(row.id, row.kind, widget);
    }
  }
  // Group boxes frame the controls around them and are drawn beneath them.
  for (QWidget* frame : frames) frame->lower();
  for (auto& [id, control] : controls_) Apply(id, control);
}

QWidget* DialogWindow::CreateWidget(const ControlTemplate& row) {
  const QString text = ToQString(row.text);
  QWidget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(LabelText(row.text), this);
      label->setTextFormat(Qt::PlainText);  // texts come from language files, never markup
      label->setWordWrap(true);
      label->setAlignment(((row.style & style::Centered) ? Qt::AlignHCenter : Qt::AlignLeft) |
                          Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(text, this);
      if (row.style & style::Password) edit->setEchoMode(QLineEdit::Password);
      edit->setMaxLength(row.limit > 0 ? row.limit : kDefaultEditLimit);
      widget = edit;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(text, this);
      // A focused button is drawn as the default, as it takes Enter (see HandleKey); otherwise
      // the template's default button is.
      button->setAutoDefault(true);
      button->setDefault((row.style & style::Default) != 0);
      widget = button;
      break;
    }
    case ControlKind::CheckBox:
      widget = new QCheckBox(text, this);
      break;
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(text, this);
      radio->setAutoExclusive(false);  // the dialog decides which one of a group is checked
      widget = radio;
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(this);
      if (row.kind == ControlKind::ComboBox) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);  // Enter must not add entries
        combo->setCompleter(nullptr);                 // typing must not complete
      }
      widget = combo;
      break;
    }
    case ControlKind::ListView: {
      auto* tree = new QTreeWidget(this);
      tree->setRootIsDecorated(false);
      tree->setItemsExpandable(false);
      tree->setUniformRowHeights(true);
      tree->setAllColumnsShowFocus(true);
      tree->setSelectionMode(QAbstractItemView::SingleSelection);
      tree->setSelectionBehavior(QAbstractItemView::SelectRows);
      tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
      tree->header()->setStretchLastSection(false);
      tree->header()->setSectionsMovable(false);
      tree->header()->setSectionsClickable(false);
      tree->setColumnCount(0);
      tree->setHeaderLabels({});
      widget = tree;
      break;
    }
    case ControlKind::TrackBar: {
      auto* slider = new QSlider(Qt::Horizontal, this);
      slider->setTickPosition(QSlider::TicksBelow);
      widget = slider;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setTextVisible(false);  // the dialogs show percentages in labels of their own
      widget = bar;
      break;
    }
    case ControlKind::GroupBox:
      widget = new QGroupBox(text, this);
      break;
    case ControlKind::Picture: {
      auto* picture = new QLabel(this);
      picture->setPixmap(IconPixmap(row.icon, kIconSize));
      widget = picture;
      break;
    }
  }
  if (row.style & style::Hidden) widget->hide();
  if (row.style & style::Disabled) widget->setEnabled(false);
  widget->installEventFilter(this);
  return widget;
}

void DialogWindow::Connect(int id, ControlKind kind, QWidget* widget) {
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
              [this, id] { Feed(id, [this, id] { dialog_.UserClick(id); }); });
      break;
    case ControlKind::Edit:
      connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
              [this, id](const QString& text) { Type(id, text); });
      break;
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      combo->lineEdit()->installEventFilter(this);
      connect(combo->lineEdit(), &QLineEdit::textEdited, this,
              [this, id](const QString& text) { Type(id, text); });
      [[fallthrough]];
    }
    case ControlKind::DropDownList:
      connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this, [this, id](int index) {
        Feed(id, [this, id, index] { dialog_.UserSelect(id, index); });
      });
      break;
    case ControlKind::ListView: {
      auto* tree = static_cast<QTreeWidget*>(widget);
      const auto row = [tree](QTreeWidgetItem* item) { return tree->indexOfTopLevelItem(item); };
      connect(tree, &QTreeWidget::itemClicked, this, [this, id, row](QTreeWidgetItem* item) {
        Feed(id, [this, id, index = row(item)] { dialog_.UserSelect(id, index); });
      });
      connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, id, row](QTreeWidgetItem* item) {
        Feed(id, [this, id, index = row(item)] { dialog_.UserDoubleClick(id, index); });
      });
      // Keyboard moves select too; a mouse press is reported by its click instead.
      connect(tree, &QTreeWidget::currentItemChanged, this,
              [this, id, row](QTreeWidgetItem* current) {
                if (!current || QApplication::mouseButtons() != Qt::NoButton) return;
                Feed(id, [this, id, index = row(current)] { dialog_.UserSelect(id, index); });
              });
      break;
    }
    case ControlKind::TrackBar:
      connect(static_cast<QSlider*>(widget), &QSlider::valueChanged, this, [this, id](int value) {
        Feed(id, [this, id, value] { dialog_.UserScroll(id, value); });
      });
      break;
    case ControlKind::Label:
    case ControlKind::ProgressBar:
    case ControlKind::GroupBox:
    case ControlKind::Picture:
      break;
  }
}

void DialogWindow::ControlChanged(int id) {
  const auto it = controls_.find(id);
  if (it != controls_.end()) Apply(id, it->second);
}

void DialogWindow::Apply(int id, Control& control) {
  const ControlState* state = dialog_.Control(id);
  if (!state) return;
  QWidget* widget = control.widget;
  // The model's own changes must not come back as user actions.
  const QSignalBlocker block(widget);
  std::optional<QSignalBlocker> blockEdit;
  if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) {
    blockEdit.emplace(combo->lineEdit());
  }
  widget->setEnabled(state->enabled);
  widget->setHidden(!state->visible);
  switch (control.kind) {
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(LabelText(state->text));
      break;
    case ControlKind::Edit: {
      if (id == typingId_) control.shown.caret = state->caret;
      ApplyEdit(static_cast<QLineEdit*>(widget), *state, control.shown);
      break;
    }
    case ControlKind::Button:
      static_cast<QPushButton*>(widget)->setText(ToQString(state->text));
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
      auto* button = static_cast<QAbstractButton*>(widget);
      button->setText(ToQString(state->text));
      button->setChecked(state->checked);
      break;
    }
    case ControlKind::DropDownList:
    case ControlKind::ComboBox:
      ApplyCombo(static_cast<QComboBox*>(widget), *state, control.shown);
      break;
    case ControlKind::ListView:
      ApplyList(static_cast<QTreeWidget*>(widget), *state, control.shown);
      break;
    case ControlKind::TrackBar:
      ApplySlider(static_cast<QSlider*>(widget), *state);
      break;
    case ControlKind::ProgressBar:
      ApplyProgress(static_cast<QProgressBar*>(widget), *state);
      break;
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(ToQString(state->text));
      break;
    case ControlKind::Picture:
      if (state->icon != control.shown.icon) {
        static_cast<QLabel*>(widget)->setPixmap(IconPixmap(state->icon, kIconSize));
      }
      break;
  }
  control.shown = *state;
}

void DialogWindow::WindowChanged() {
  setWindowTitle(ToQString(dialog_.Caption()));
  if (dialog_.BigIcon() != shownIcon_) {
    shownIcon_ = dialog_.BigIcon();
    setWindowIcon(IconResource(shownIcon_));
  }
  if (dialog_.WindowX() != shownX_ || dialog_.WindowY() != shownY_) {
    shownX_ = dialog_.WindowX();
    shownY_ = dialog_.WindowY();
    move(shownX_, shownY_);
  }
  if (!running_) return;  // the loop shows the window when it starts
  if (dialog_.IsWindowVisible() && !isVisible()) {
    if (isMinimized()) {
      // Hidden when it was minimised: it comes back restored.
      restoringState_ = true;
      setWindowState(windowState() & ~Qt::WindowMinimized);
      restoringState_ = false;
    }
    show();
    raise();
    activateWindow();
  } else if (!dialog_.IsWindowVisible() && isVisible()) {
    hide();  // leaves exec(); RunLoop goes on hidden
  }
}

void DialogWindow::Center() {
  if (!isVisible()) {
    // Not shown yet, so its frame is unknown: Qt centres an unmoved dialog when it shows it.
    setAttribute(Qt::WA_Moved, false);
    return;
  }
  // Over the owner while it is shown, else on the screen (the main window may be hidden).
  const QWidget* over = parentWidget();
  const QRect area = over && over->isVisible()
                         ? over->frameGeometry()
                         : (screen() ? screen()->availableGeometry() : QRect());
  if (!area.isValid()) return;
  QRect frame = frameGeometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
}

void DialogWindow::SyncTimers() {
  const auto& wanted = dialog_.Timers();
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (wanted.count(it->first)) {
      ++it;
    } else {
      // Killed from its own tick, perhaps: the timer object goes once that has returned.
      it->second->stop();
      it->second->deleteLater();
      it = timers_.erase(it);
    }
  }
  for (const auto& [timerId, period] : wanted) {
    QTimer*& timer = timers_[timerId];
    if (!timer) {
      timer = new QTimer(this);
      connect(timer, &QTimer::timeout, this, [this, id = timerId] {
        if (!Ended()) Feed(0, [this, id] { dialog_.OnTimer(id); });
      });
    }
    const auto interval = static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(
        period.count(), 0, std::numeric_limits<int>::max()));
    if (!timer->isActive() || timer->interval() != interval) timer->start(interval);
  }
}

void DialogWindow::Post(int command) {
  QMetaObject::invokeMethod(
      this,
      [this, command] {
        if (!Ended()) Feed(0, [this, command] { dialog_.OnCommand(command, CommandCode::Menu); });
      },
      Qt::QueuedConnection);
}

void DialogWindow::RunLoop() {
  running_ = true;
  while (!Ended()) {
    if (dialog_.IsWindowVisible()) {
      exec();
    } else {
      // exec() would show the window; a hidden dialog (the main window behind the tray icon)
      // runs a plain loop until it ends or is shown.
      QEventLoop loop;
      hiddenLoop_ = &loop;
      loop.exec(QEventLoop::DialogExec);
      hiddenLoop_ = nullptr;
    }
  }
  running_ = false;
  for (auto& [id, timer] : timers_) timer->stop();
  hide();
}

void DialogWindow::FinishIfEnded() {
  if (!running_ || !Ended()) return;
  if (hiddenLoop_) hiddenLoop_->quit();
  if (isVisible()) done(0);
}

void DialogWindow::Feed(int id, const std::function<void()>& action) {
  action();
  // The dialog may have refused the change (a radio click that keeps it checked, a disabled
  // control); the widget shows the model again either way.
  if (id != 0) ControlChanged(id);
}

void DialogWindow::Type(int id, const QString& text) {
  // The model puts its caret at the end of a typed text; the widget keeps the user's.
  typingId_ = id;
  Feed(id, [this, id, text] { dialog_.UserType(id, FromQString(text)); });
  typingId_ = 0;
}

bool DialogWindow::HandleKey(int key, QObject* target) {
  int virtualKey = 0;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      virtualKey = kVkReturn;
      break;
    case Qt::Key_Escape:
      virtualKey = kVkEscape;
      break;
    default:
      return false;
  }
  // Enter on a focused push button presses that button, as the platform's dialog manager
  // does; the dialog still sees the key first and may swallow it.
  const auto focused = std::find_if(controls_.begin(), controls_.end(), [target](const auto& c) {
    return c.second.kind == ControlKind::Button && c.second.widget == target;
  });
  if (virtualKey == kVkReturn && focused != controls_.end()) {
    const int id = focused->first;
    Feed(id, [this, id] {
      if (!Ended() && !dialog_.PreTranslateKey(kVkReturn)) dialog_.UserClick(id);
    });
    return true;
  }
  Feed(0, [this, virtualKey] { dialog_.UserKey(virtualKey); });
  return true;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event->key(), this)) return;
  QWidget::keyPressEvent(event);  // not QDialog's: it would close or accept on its own
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      HandleKey(static_cast<QKeyEvent*>(event)->key(), watched)) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // The close box (or a close request from the desktop) asks the dialog; it ends itself if it
  // agrees. The backend itself never closes windows, it hides them.
  event->ignore();
  Feed(0, [this] { dialog_.UserClose(); });
}

void DialogWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || restoringState_ || !isMinimized()) return;
  if (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) return;
  Feed(0, [this] { dialog_.UserMinimize(); });
}

bool DialogWindow::Ended() const { return QtBackend::Ended(dialog_); }

}  // namespace platform::window
