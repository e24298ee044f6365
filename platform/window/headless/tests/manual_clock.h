#pragma once
// A clock that moves only when slept, for tests of timer scheduling.

#include "platform/clock/clock.h"

namespace platform::window::headless {

class ManualClock final : public platform::Clock {
 public:
  platform::Millis Now() const override { return now; }
  std::int64_t UnixSeconds() const override { return 1'700'000'000 + now.count() / 1000; }
  void Sleep(platform::Millis duration) override { now += duration; }
  platform::Millis now{0};
};

}  // namespace platform::window::headless

#include <thread>

namespace platform::window::headless {

// Real time, for the few tests that check waiting on standard input.
class SteadyClock final : public platform::Clock {
 public:
  platform::Millis Now() const override {
    return std::chrono::duration_cast<platform::Millis>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  std::int64_t UnixSeconds() const override { return 0; }
  void Sleep(platform::Millis duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace platform::window::headless
