#pragma once
// Temporary main window, until the real one takes its place: it carries the window title as
// its caption (so that a second instance finds it), starts hidden, shows the tray icon so that
// a windowed run can be reached, and on each refresh tick answers the two requests of a second
// instance: exit, or show the window. It counts its ticks to show that the timer runs.

#include "app/app_context.h"
#include "platform/window/dialog.h"

namespace app {

inline constexpr int kStubMainTemplate = 9999;
inline constexpr int kStubTicksLabel = 1000;
inline constexpr int kStubList = 1001;
inline constexpr int kRefreshTimer = 1;

void RegisterStubMainTemplate();

class StubMainDlg final : public platform::window::Dialog {
 public:
  explicit StubMainDlg(AppContext& context);
  bool OnInitDialog() override;
  void OnTimer(int timerId) override;
  void OnCommand(int id, platform::window::CommandCode code) override;

 private:
  void OpenWindow();

  AppContext& context_;
  int ticks_ = 0;
};

}  // namespace app
