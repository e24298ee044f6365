#pragma once
// A world on a virtual clock, for tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "libs/vuzoza/sim/scenario.h"
#include "libs/vuzoza/sim/world.h"

namespace vuzoza::testing {

inline constexpr const char* kUsbAdapter = "{6F1C2A10-7100-4D5A-9E11-00000000A001}";
inline constexpr const char* kWiredAdapter = "{6F1C2A10-0E00-4D5A-9E11-00000000E001}";

struct VirtualTime {
  std::int64_t now = 0;
  SimClock clock() {
    return {[this] { return now; }, [this](std::uint32_t ms) { now += ms; }};
  }
};

inline Scenario MustParse(std::string_view json) {
  ParseResult r = ParseScenario(json);
  EXPECT_TRUE(r.scenario.has_value()) << r.error;
  return r.scenario.value_or(Scenario{});
}

inline Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

inline Mac MacOf(std::uint8_t last, std::uint8_t fourth = 0xA0) { return {0x02, 0x5A, fourth, 0x00, 0x00, last}; }

class WorldTest : public ::testing::Test {
 protected:
  void Load(std::string_view json, AuthenticatorFactory factory = CreateHandshakeAuthenticator) {
    world = std::make_unique<World>(MustParse(json), time.clock(), std::move(factory));
  }
  void LoadDefault() { Load(DefaultScenarioJson()); }
  void Wait(std::int64_t ms) { time.now += ms; }
  int Get(Query q) { return world->Get(kUsbAdapter, q); }
  int Set(Setting s, int v) { return world->Set(kUsbAdapter, s, v); }
  void Connect(std::string_view ssid) {
    ASSERT_EQ(world->SetSsid(kUsbAdapter, Text(ssid)), 0);
    Wait(kAssociationMs);
  }
  std::uint32_t SentFrames() {
    std::uint32_t sent = 0, received = 0;
    EXPECT_EQ(world->GetFrameCounts(kUsbAdapter, sent, received), 0);
    return sent;
  }
  bool TrafficFlowsOver(std::int64_t ms) {
    const std::uint32_t before = SentFrames();
    Wait(ms);
    SentFrames();  // the world counts the interval on the call that follows it
    Wait(1);
    return SentFrames() > before;
  }

  VirtualTime time;
  std::unique_ptr<World> world;
};

}  // namespace vuzoza::testing
