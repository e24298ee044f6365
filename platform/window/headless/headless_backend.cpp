#include "platform/window/headless/headless_backend.h"

#include <algorithm>

#include "platform/window/dump.h"
#include "platform/text/text.h"

namespace platform::window::headless {

namespace {

bool Fits(MessageButtons buttons, MessageResult answer) {
  switch (buttons) {
    case MessageButtons::Ok: return answer == MessageResult::Ok;
    case MessageButtons::YesNo: return answer == MessageResult::Yes || answer == MessageResult::No;
  }
  return false;
}

MessageResult DefaultAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MessageResult::Ok;
    case MessageButtons::YesNo: return MessageResult::No;
  }
  return MessageResult::Ok;
}

const char* ButtonsName(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return "ok";
    case MessageButtons::YesNo: return "yesno";
  }
  return "";
}

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return "none";
    case MessageIcon::Question: return "question";
    case MessageIcon::Information: return "information";
    case MessageIcon::Exclamation: return "exclamation";
  }
  return "";
}

const char* AnswerName(MessageResult answer) {
  switch (answer) {
    case MessageResult::Ok: return "ok";
    case MessageResult::Yes: return "yes";
    case MessageResult::No: return "no";
  }
  return "";
}

}  // namespace

HeadlessBackend::HeadlessBackend(platform::Clock& clock, TimeMode mode)
    : clock_(clock), mode_(mode) {}

HeadlessBackend::~HeadlessBackend() = default;

bool HeadlessBackend::IsLive(const Dialog* dialog) const {
  return std::find(open_.begin(), open_.end(), dialog) != open_.end() && !EndRequested(*dialog);
}

void HeadlessBackend::RunModal(Dialog& dialog) {
  if (driver_ != nullptr) driver_->Enter(dialog);
  bool closeBoxPressed = false;
  while (!EndRequested(dialog)) {
    if (DeliverOnePosted()) continue;
    if (driver_ != nullptr && driver_->Step(dialog)) continue;
    // Nothing more from the user: the close box, and if the dialog refuses (a main window
    // that only hides, say), end it so that the program can finish.
    if (!closeBoxPressed) {
      closeBoxPressed = true;
      dialog.UserClose();
    } else {
      dialog.EndDialog(IdCancel);
    }
  }
  if (driver_ != nullptr) driver_->Leave(dialog);
}

std::unique_ptr<DialogView> HeadlessBackend::CreateView(Dialog& /*dialog*/) { return nullptr; }

MessageResult HeadlessBackend::ShowMessageBox(Dialog* owner, std::u16string_view text,
                                              std::u16string_view caption,
                                              MessageButtons buttons, MessageIcon icon) {
  ShownMessageBox box{std::u16string(text), std::u16string(caption), buttons, icon,
                      DefaultAnswer(buttons), true, owner ? owner->TemplateId() : -1};
  if (!answers_.empty()) {
    const MessageResult queued = answers_.front();
    answers_.pop_front();
    if (Fits(buttons, queued)) {
      box.answer = queued;
      box.answeredByDefault = false;
    }
  }
  messageBoxes_.push_back(box);
  return box.answer;
}

void HeadlessBackend::TimersChanged(Dialog& dialog) {
  const platform::Millis now = clock_.Now();
  for (auto it = schedule_.begin(); it != schedule_.end();) {
    if (it->first.dialog == &dialog && dialog.Timers().count(it->first.id) == 0) {
      it = schedule_.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [id, period] : dialog.Timers()) {
    auto [it, added] = schedule_.try_emplace(TimerKey{&dialog, id}, Schedule{period, now + period});
    if (!added && it->second.period != period) it->second = Schedule{period, now + period};
  }
}

void HeadlessBackend::Post(Dialog& dialog, int command) { posted_.emplace_back(&dialog, command); }

void HeadlessBackend::DialogClosed(Dialog& dialog) {
  std::erase_if(posted_, [&](const auto& p) { return p.first == &dialog; });
  std::erase_if(schedule_, [&](const auto& entry) { return entry.first.dialog == &dialog; });
}

bool HeadlessBackend::DeliverOnePosted() {
  while (!posted_.empty()) {
    auto [target, command] = posted_.front();
    posted_.pop_front();
    if (!IsLive(target)) continue;  // an ended dialog is about to be destroyed
    target->OnCommand(command, CommandCode::Menu);
    return true;
  }
  return false;
}

void HeadlessBackend::Pump() {
  while (DeliverOnePosted()) {
  }
}

void HeadlessBackend::RestartShell() {
  tray_.ShellRestarted();
  const std::vector<Dialog*> dialogs = open_;
  for (Dialog* d : dialogs) {
    if (IsLive(d)) d->OnTaskbarCreated();
  }
}

void HeadlessBackend::Fire(const std::vector<TimerKey>& timers) {
  for (const TimerKey& key : timers) {
    // An earlier handler may have closed the dialog or killed the timer.
    if (!IsLive(key.dialog) || key.dialog->Timers().count(key.id) == 0) continue;
    auto it = schedule_.find(key);
    if (it != schedule_.end()) it->second.due = clock_.Now() + it->second.period;
    key.dialog->OnTimer(key.id);
  }
}

void HeadlessBackend::Tick() {
  std::vector<TimerKey> timers;
  std::optional<platform::Millis> smallest;
  for (Dialog* d : open_) {
    for (const auto& [id, period] : d->Timers()) {
      timers.push_back({d, id});
      if (!smallest || period < *smallest) smallest = period;
    }
  }
  if (mode_ == TimeMode::Virtual && smallest) clock_.Sleep(*smallest);
  Fire(timers);
}

void HeadlessBackend::FireDueTimers() {
  if (mode_ == TimeMode::Virtual) return;
  const platform::Millis now = clock_.Now();
  std::vector<TimerKey> due;
  for (Dialog* d : open_) {
    for (const auto& [id, period] : d->Timers()) {
      auto it = schedule_.find({d, id});
      if (it != schedule_.end() && it->second.due <= now) due.push_back({d, id});
    }
  }
  Fire(due);
}

std::optional<platform::Millis> HeadlessBackend::TimeUntilNextTimer() const {
  if (mode_ == TimeMode::Virtual || schedule_.empty()) return std::nullopt;
  platform::Millis next = schedule_.begin()->second.due;
  for (const auto& [key, s] : schedule_) next = std::min(next, s.due);
  return std::max(platform::Millis(0), next - clock_.Now());
}

nlohmann::json DumpMessageBox(const ShownMessageBox& box) {
  return {{"text", platform::ToUtf8(box.text)},
          {"caption", platform::ToUtf8(box.caption)},
          {"buttons", ButtonsName(box.buttons)},
          {"icon", IconName(box.icon)},
          {"answer", AnswerName(box.answer)},
          {"byDefault", box.answeredByDefault},
          {"owner", box.ownerTemplate}};
}

nlohmann::json HeadlessBackend::Dump(std::size_t firstBox) const {
  nlohmann::json boxes = nlohmann::json::array();
  for (std::size_t i = firstBox; i < messageBoxes_.size(); ++i) {
    boxes.push_back(DumpMessageBox(messageBoxes_[i]));
  }
  return {{"dialogs", DumpDialogs(*this)}, {"tray", tray_.Dump()}, {"messageBoxes", boxes}};
}

}  // namespace platform::window::headless
