#pragma once
// Temporary main window: shows that the program runs and its timer ticks, until the real main
// window takes its place.

#include "platform/window/dialog.h"

namespace app {

inline constexpr int kStubMainTemplate = 9999;
inline constexpr int kStubTicksLabel = 1000;
inline constexpr int kStubList = 1001;

void RegisterStubMainTemplate();

class StubMainDlg final : public platform::window::Dialog {
 public:
  StubMainDlg() : Dialog(kStubMainTemplate) {}
  bool OnInitDialog() override;
  void OnTimer(int timerId) override;

 private:
  int ticks_ = 0;
};

}  // namespace app
