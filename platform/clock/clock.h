#pragma once
// Time, sleeps and the seeded random generator. Every wait and clock read of the system goes
// through a Clock so that tests and scripted runs can use virtual time.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

namespace platform {

using Millis = std::chrono::milliseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time since an arbitrary start.
  virtual Millis Now() const = 0;
  // Wall-clock time in whole seconds since 1970, what "seeded with the current time" uses.
  virtual std::int64_t UnixSeconds() const = 0;
  // Blocks the calling thread (real clock) or advances virtual time by `duration`.
  virtual void Sleep(Millis duration) = 0;
};

std::unique_ptr<Clock> CreateRealClock();

// Time moves only when someone sleeps or calls Advance. Thread-safe.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::int64_t unixSecondsAtStart = 1'700'000'000);
  Millis Now() const override;
  std::int64_t UnixSeconds() const override;
  void Sleep(Millis duration) override;
  void Advance(Millis duration);

 private:
  mutable std::mutex mutex_;
  Millis now_{0};
  std::int64_t unixStart_;
};

// The C library's seeded generator as the system uses it: seed with the current time, then
// take the low 8 bits of successive draws. Deterministic for a given seed on every platform.
class RandomGenerator {
 public:
  void Seed(std::uint32_t seed);
  // A draw in 0..32767.
  int Next();

 private:
  std::uint32_t state_ = 1;
};

}  // namespace platform
