#pragma once
// The driver tests use: what happens when a dialog of a given template opens is a callback run
// inside that dialog's modal loop. A dialog with nothing scripted, or whose callback returned
// without ending it, is closed by the backend.

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/window/headless/headless_backend.h"

namespace platform::window::headless {

class ScriptedDriver final : public Driver {
 public:
  using Handler = std::function<void(Dialog&)>;

  // The next dialog of `templateId` to open runs `handler`; each opening takes one handler,
  // in the order they were added.
  void OnOpen(int templateId, Handler handler);
  // Template ids of every dialog that ran a modal loop, in opening order.
  const std::vector<int>& Opened() const { return opened_; }

  void Enter(Dialog& dialog) override;
  void Leave(Dialog& dialog) override;
  bool Step(Dialog& innermost) override;

 private:
  std::map<int, std::deque<Handler>> handlers_;
  std::vector<Handler> frames_;  // one per running loop; empty once its handler ran
  std::vector<int> opened_;
};

// A headless backend driven by a ScriptedDriver, installed as the current backend while it
// lives: what a test of a dialog class needs.
class ScriptedSession {
 public:
  explicit ScriptedSession(platform::Clock& clock, TimeMode mode = TimeMode::Virtual);
  ~ScriptedSession();
  ScriptedSession(const ScriptedSession&) = delete;
  ScriptedSession& operator=(const ScriptedSession&) = delete;

  HeadlessBackend backend;
  ScriptedDriver driver;
};

}  // namespace platform::window::headless
