#pragma once
// Temporary: the clocks the program runs on until the platform clock service is in the tree.

#include <thread>

#include "platform/clock/clock.h"

namespace app {

class StubClock final : public platform::Clock {
 public:
  explicit StubClock(bool isVirtual) : virtual_(isVirtual) {}
  platform::Millis Now() const override {
    if (virtual_) return now_;
    return std::chrono::duration_cast<platform::Millis>(
        std::chrono::steady_clock::now().time_since_epoch());
  }
  std::int64_t UnixSeconds() const override {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  void Sleep(platform::Millis duration) override {
    if (virtual_) {
      now_ += duration;
    } else {
      std::this_thread::sleep_for(duration);
    }
  }

 private:
  bool virtual_;
  platform::Millis now_{0};
};

}  // namespace app
