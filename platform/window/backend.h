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
  virtual void Center() {}                  // centre the window on the screen
  virtual void Raise() {}                   // bring the window to the foreground
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
  // EndDialog was called on an open dialog: a loop that waits for events must wake up and
  // return from RunModal once the current handler has returned.
  virtual void DialogEnded(Dialog& /*dialog*/) {}
  // The dialog has left the open list (after OnDestroy): drop whatever is queued for it.
  virtual void DialogClosed(Dialog& /*dialog*/) {}

  // Dialogs currently open, outermost first.
  const std::vector<Dialog*>& OpenDialogs() const { return open_; }

 protected:
  // For backends: keep the open-dialog list and let views attach.
  static void AttachView(Dialog& dialog, std::unique_ptr<DialogView> view);
  // True once EndDialog was called: RunModal returns when this holds.
  static bool EndRequested(const Dialog& dialog);
  std::vector<Dialog*> open_;
  friend class Dialog;
};

// The backend every Dialog uses. The program sets it once at start; tests set their own.
// Using a Dialog without a backend set is a programming error: CurrentBackend throws
// std::logic_error.
Backend& CurrentBackend();
void SetCurrentBackend(Backend* backend);

// Where open dialogs announce their captions so that other processes can find them by title.
// Null (the default) announces nothing, which keeps tests from touching the shared lock folder.
void SetWindowTitles(platform::WindowTitles* titles);
platform::WindowTitles* CurrentWindowTitles();

}  // namespace platform::window
