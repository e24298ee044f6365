#pragma once
// What a window backend provides: the modal loop, the views that mirror dialogs, message boxes,
// the tray icon and timer scheduling. Dialog classes never see which backend runs them.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/dialog.h"

namespace platform::window {

// A backend's mirror of one open dialog. The headless backend has none.
class DialogView {
 public:
  virtual ~DialogView() = default;
  virtual void ControlChanged(int id) = 0;  // the state of control `id` changed
  virtual void WindowChanged() = 0;         // caption, visibility, position, icon changed
};

// Mouse events of the tray icon, as the shell reports them.
enum class TrayMouse { RightUp, LeftDoubleClick, LeftUp };

struct TrayMenuItem {
  int command = 0;
  std::u16string text;
};

class TrayListener {
 public:
  virtual ~TrayListener() = default;
  virtual void OnTrayMouse(TrayMouse event) = 0;
};

// The notification-area icon. Every call answers false and does nothing when the desktop has
// no notification area (Supported() false).
class Tray {
 public:
  virtual ~Tray() = default;
  virtual bool Supported() const = 0;
  virtual bool Add(int iconResource, std::u16string_view tip, TrayListener* listener) = 0;
  virtual bool SetIcon(int iconResource) = 0;
  virtual bool SetTip(std::u16string_view tip) = 0;  // cut to 127 characters
  virtual bool Remove() = 0;
  // Shows the popup menu at the cursor with `defaultCommand` drawn bold; returns the chosen
  // command, 0 when dismissed.
  virtual int TrackMenu(const std::vector<TrayMenuItem>& items, int defaultCommand) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Runs `dialog` until it ends; called by Dialog::DoModal after the controls exist.
  virtual void RunModal(Dialog& dialog) = 0;
  virtual std::unique_ptr<DialogView> CreateView(Dialog& dialog) = 0;
  virtual MessageResult ShowMessageBox(Dialog* owner, std::u16string_view text,
                                       std::u16string_view caption, MessageButtons buttons,
                                       MessageIcon icon) = 0;
  virtual Tray& TrayIcon() = 0;
  // Timer bookkeeping lives in the Dialog; the backend is told so it can schedule firings.
  virtual void TimersChanged(Dialog& dialog) = 0;
  // Queues OnCommand(command, Menu) for `dialog`, delivered by the innermost running loop.
  virtual void Post(Dialog& dialog, int command) = 0;

  // Dialogs currently open, outermost first.
  const std::vector<Dialog*>& OpenDialogs() const { return open_; }

 protected:
  // For backends: keep the open-dialog list and let views attach.
  static void AttachView(Dialog& dialog, std::unique_ptr<DialogView> view);
  std::vector<Dialog*> open_;
  friend class Dialog;
};

// The backend every Dialog uses. The program sets it once at start; tests set their own.
Backend& CurrentBackend();
void SetCurrentBackend(Backend* backend);

}  // namespace platform::window
