#pragma once
// The backend that shows nothing. Every dialog's state lives in the Dialog itself; the modal
// loop delivers posted commands and otherwise asks a Driver (a test script or the automation
// mode) what the user does next. When the driver has nothing more for a dialog, the loop
// presses its close box, and ends it with IdCancel if it stays open, so nothing ever hangs.
//
// Timers: with virtual time they fire only on Tick(); with real time the driver waits for its
// next input at most until TimeUntilNextTimer() and then calls FireDueTimers().
//
// Everything here runs on the user-interface thread, as the platform's windows do.

#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/clock/clock.h"
#include "platform/window/backend.h"
#include "platform/window/headless/tray.h"

namespace platform::window::headless {

class Driver {
 public:
  virtual ~Driver() = default;
  // Around the modal loop of each dialog; nested dialogs nest.
  virtual void Enter(Dialog& /*dialog*/) {}
  virtual void Leave(Dialog& /*dialog*/) {}
  // One step of the user while `innermost` runs its loop and nothing is posted. False: nothing
  // more will come for it.
  virtual bool Step(Dialog& innermost) = 0;
};

struct ShownMessageBox {
  std::u16string text;
  std::u16string caption;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  MessageResult answer = MessageResult::Ok;
  bool answeredByDefault = true;  // nothing fitting was queued
  int ownerTemplate = -1;         // template id of the owning dialog, -1 without one
};

enum class TimeMode { Real, Virtual };

class HeadlessBackend final : public Backend {
 public:
  // Virtual time: Tick() first sleeps the clock by the smallest active timer period.
  HeadlessBackend(platform::Clock& clock, TimeMode mode);
  ~HeadlessBackend() override;

  void SetDriver(Driver* driver) { driver_ = driver; }

  // ---- Backend
  void RunModal(Dialog& dialog) override;
  std::unique_ptr<DialogView> CreateView(Dialog& dialog) override;
  MessageResult ShowMessageBox(Dialog* owner, std::u16string_view text,
                               std::u16string_view caption, MessageButtons buttons,
                               MessageIcon icon) override;
  Tray& TrayIcon() override { return tray_; }
  void TimersChanged(Dialog& dialog) override;
  void Post(Dialog& dialog, int command) override;
  void DialogClosed(Dialog& dialog) override;

  // ---- for drivers and tests
  HeadlessTray& HeadlessTrayIcon() { return tray_; }
  Dialog* Innermost() const { return open_.empty() ? nullptr : open_.back(); }
  // Fires every active timer of every open dialog once, outermost dialog first.
  void Tick();
  // Real time: fires the timers that are due. Virtual time: does nothing.
  void FireDueTimers();
  // Real time: how long until the next timer is due (0 when overdue); none without timers or
  // with virtual time, when timers fire only on Tick().
  std::optional<platform::Millis> TimeUntilNextTimer() const;
  // Delivers every posted command now, as a message loop would once idle.
  void Pump();
  // The desktop's notification area was re-created: the tray icon is gone and every open
  // dialog, hidden or not, hears OnTaskbarCreated, outermost first.
  void RestartShell();
  TimeMode Mode() const { return mode_; }
  platform::Clock& GetClock() { return clock_; }

  // Answers for the next message boxes, in order. A box answers its default (OK, or No for a
  // Yes/No box) when none is queued or the queued one names a button it lacks.
  void QueueAnswer(MessageResult answer) { answers_.push_back(answer); }
  std::size_t PendingAnswers() const { return answers_.size(); }
  const std::vector<ShownMessageBox>& MessageBoxes() const { return messageBoxes_; }

  // Dialogs outermost first, the tray, and the message boxes shown from index `firstBox` on.
  nlohmann::json Dump(std::size_t firstBox) const;

 private:
  struct TimerKey {
    Dialog* dialog;
    int id;
    auto operator<=>(const TimerKey&) const = default;
  };
  struct Schedule {
    platform::Millis period;
    platform::Millis due;
  };
  bool IsLive(const Dialog* dialog) const;
  bool DeliverOnePosted();
  void Fire(const std::vector<TimerKey>& timers);

  platform::Clock& clock_;
  TimeMode mode_;
  Driver* driver_ = nullptr;
  HeadlessTray tray_;
  std::deque<std::pair<Dialog*, int>> posted_;
  std::map<TimerKey, Schedule> schedule_;
  std::deque<MessageResult> answers_;
  std::vector<ShownMessageBox> messageBoxes_;
};

nlohmann::json DumpMessageBox(const ShownMessageBox& box);

}  // namespace platform::window::headless
