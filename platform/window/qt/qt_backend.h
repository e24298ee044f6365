#pragma once
// The Qt 6 Widgets backend: real windows for the dialogs, QMessageBox, QSystemTrayIcon.

#include <QApplication>
#include <memory>
#include <vector>

#include "platform/window/backend.h"
#include "platform/window/qt/qt_tray.h"

namespace platform::window {

class DialogWindow;

class QtBackend : public Backend {
 public:
  // Creates a QApplication from argc/argv unless one exists; see CreateQtBackend.
  QtBackend(int& argc, char** argv);
  ~QtBackend() override;

  void RunModal(Dialog& dialog) override;
  std::unique_ptr<DialogView> CreateView(Dialog& dialog) override;
  MessageResult ShowMessageBox(Dialog* owner, std::u16string_view text,
                               std::u16string_view caption, MessageButtons buttons,
                               MessageIcon icon) override;
  Tray& TrayIcon() override { return tray_; }
  void TimersChanged(Dialog& dialog) override;
  void Post(Dialog& dialog, int command) override;
  void DialogEnded(Dialog& dialog) override;

  // The window showing `dialog`, null while it has none.
  DialogWindow* WindowOf(const Dialog& dialog) const;

  // For the windows: their registration, and whether their dialog has been ended.
  void Register(DialogWindow* window);
  void Unregister(DialogWindow* window);
  static bool Ended(const Dialog& dialog) { return EndRequested(dialog); }

 private:
  std::unique_ptr<QApplication> ownApp_;
  QtTray tray_;
  std::vector<DialogWindow*> windows_;
};

}  // namespace platform::window
