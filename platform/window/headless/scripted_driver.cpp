#include "platform/window/headless/scripted_driver.h"

namespace platform::window::headless {

void ScriptedDriver::OnOpen(int templateId, Handler handler) {
  handlers_[templateId].push_back(std::move(handler));
}

void ScriptedDriver::Enter(Dialog& dialog) {
  opened_.push_back(dialog.TemplateId());
  Handler handler;
  auto it = handlers_.find(dialog.TemplateId());
  if (it != handlers_.end() && !it->second.empty()) {
    handler = std::move(it->second.front());
    it->second.pop_front();
  }
  frames_.push_back(std::move(handler));
}

void ScriptedDriver::Leave(Dialog& /*dialog*/) { frames_.pop_back(); }

bool ScriptedDriver::Step(Dialog& innermost) {
  if (frames_.empty() || !frames_.back()) return false;
  Handler handler = std::move(frames_.back());
  frames_.back() = nullptr;
  handler(innermost);
  return true;
}

ScriptedSession::ScriptedSession(platform::Clock& clock, TimeMode mode) : backend(clock, mode) {
  backend.SetDriver(&driver);
  SetCurrentBackend(&backend);
}

ScriptedSession::~ScriptedSession() { SetCurrentBackend(nullptr); }

}  // namespace platform::window::headless
