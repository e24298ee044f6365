#pragma once
// The QDialog that shows one Dialog: builds the widgets from the dialog's template, mirrors the
// dialog's control state into them, and feeds the user's actions back through Dialog::User*.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "platform/window/backend.h"
#include "platform/window/qt/dialog_units.h"

class QEventLoop;
class QTimer;

namespace platform::window {

class QtBackend;

class DialogWindow : public QDialog {
 public:
  DialogWindow(QtBackend& backend, Dialog& dialog, const DialogTemplate& tmpl, QWidget* parent);
  ~DialogWindow() override;

  Dialog& Model() const { return dialog_; }
  const DialogUnits& Units() const { return units_; }
  // The widget of control `id`, null when the template has none.
  QWidget* Widget(int id) const;

  void ControlChanged(int id);
  void WindowChanged();
  void Center();
  void SyncTimers();
  void Post(int command);

  // Runs the dialog's loop until it ends, visible or hidden as the dialog wants.
  void RunLoop();
  // Leaves the running loop when the dialog has ended.
  void FinishIfEnded();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;  // the minimise box
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Control {
    ControlKind kind;
    QWidget* widget;
    ControlState shown;  // what the widget was last given, to skip unchanged collections
  };

  void Build(const DialogTemplate& tmpl);
  QWidget* CreateWidget(const ControlTemplate& row);
  void Connect(int id, ControlKind kind, QWidget* widget);
  void Apply(int id, Control& control);
  void Type(int id, const QString& text);
  // Enter and Escape, pressed on `target`, go to the dialog; other keys are left to Qt.
  bool HandleKey(int key, QObject* target);
  // Calls into the dialog, then mirrors `id` (0: none) again and ends loops of ended dialogs.
  void Feed(int id, const std::function<void()>& action);
  bool Ended() const;

  QtBackend& backend_;
  Dialog& dialog_;
  DialogUnits units_;
  std::map<int, Control> controls_;
  std::map<int, QTimer*> timers_;
  bool running_ = false;
  QEventLoop* hiddenLoop_ = nullptr;
  int shownX_ = 0, shownY_ = 0;
  int shownIcon_ = 0;
  bool restoringState_ = false;
  int typingId_ = 0;  // the edit the user is typing into: its caret stays where the user has it
};

// The view the Dialog owns; the window may already be gone with its Qt parent.
class QtDialogView : public DialogView {
 public:
  explicit QtDialogView(DialogWindow* window) : window_(window) {}
  ~QtDialogView() override { delete window_.data(); }
  void ControlChanged(int id) override {
    if (window_) window_->ControlChanged(id);
  }
  void WindowChanged() override {
    if (window_) window_->WindowChanged();
  }
  void Center() override {
    if (window_) window_->Center();
  }
  void Raise() override {
    if (window_) {
      window_->raise();
      window_->activateWindow();
    }
  }

 private:
  QPointer<DialogWindow> window_;
};

}  // namespace platform::window
