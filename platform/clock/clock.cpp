#include "platform/clock/clock.h"

#include <thread>

namespace platform {
namespace {

class RealClock final : public Clock {
 public:
  Millis Now() const override {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
  }
  std::int64_t UnixSeconds() const override {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  void Sleep(Millis duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace

std::unique_ptr<Clock> CreateRealClock() { return std::make_unique<RealClock>(); }

VirtualClock::VirtualClock(std::int64_t unixSecondsAtStart) : unixStart_(unixSecondsAtStart) {}

Millis VirtualClock::Now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

std::int64_t VirtualClock::UnixSeconds() const {
  std::lock_guard lock(mutex_);
  return unixStart_ + std::chrono::duration_cast<std::chrono::seconds>(now_).count();
}

void VirtualClock::Sleep(Millis duration) { Advance(duration); }

void VirtualClock::Advance(Millis duration) {
  // A monotonic clock never runs backwards, whatever a caller asks for.
  if (duration <= Millis::zero()) return;
  std::lock_guard lock(mutex_);
  now_ += duration;
}

void RandomGenerator::Seed(std::uint32_t seed) { state_ = seed; }

int RandomGenerator::Next() {
  state_ = state_ * 1103515245u + 12345u;
  return static_cast<int>((state_ / 65536u) % 32768u);
}

}  // namespace platform
