#include "platform/clock/clock.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace platform {
namespace {

using namespace std::chrono_literals;

TEST(VirtualClock, MovesOnlyWhenSleptOrAdvanced) {
  VirtualClock clock(1'000'000);
  EXPECT_EQ(clock.Now(), 0ms);
  EXPECT_EQ(clock.UnixSeconds(), 1'000'000);
  clock.Sleep(2000ms);
  clock.Advance(999ms);
  EXPECT_EQ(clock.Now(), 2999ms);
  EXPECT_EQ(clock.UnixSeconds(), 1'000'002);  // whole seconds only
  clock.Sleep(-500ms);
  clock.Advance(0ms);
  EXPECT_EQ(clock.Now(), 2999ms);
}

TEST(VirtualClock, SleepsFromSeveralThreadsAllCount) {
  VirtualClock clock;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&clock] {
      for (int i = 0; i < 1000; ++i) clock.Sleep(1ms);
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(clock.Now(), 4000ms);
}

TEST(RealClock, SleepWaitsAndTimeMovesForward) {
  auto clock = CreateRealClock();
  const Millis before = clock->Now();
  clock->Sleep(5ms);
  EXPECT_GE(clock->Now() - before, 5ms);
  EXPECT_GT(clock->UnixSeconds(), 1'600'000'000);
}

TEST(RandomGenerator, GivesTheClassicSequenceForASeed) {
  RandomGenerator unseeded;
  const int expected[] = {16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086};
  for (int value : expected) EXPECT_EQ(unseeded.Next(), value);

  RandomGenerator seeded;
  seeded.Seed(1'700'000'000);
  for (int value : {7723, 25667, 7513, 23431, 24435}) EXPECT_EQ(seeded.Next(), value);
  seeded.Seed(1);
  EXPECT_EQ(seeded.Next(), 16838);
}

}  // namespace
}  // namespace platform
