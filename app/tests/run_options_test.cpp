#include <gtest/gtest.h>

#include "app/run_options.h"

namespace app {
namespace {

TEST(RunOptions, BackendAndClockFlagsAndTheRestPassedOn) {
  const RunOptions o = ParseRunOptions({"/SETWZCD", "--headless", "5", "--virtual-clock", "-EXIT"});
  EXPECT_TRUE(o.headless);
  EXPECT_TRUE(o.virtualClock);
  EXPECT_FALSE(o.help);
  EXPECT_EQ(o.switches, (std::vector<std::string>{"/SETWZCD", "5", "-EXIT"}));
  EXPECT_FALSE(ParseRunOptions({}).headless);
  EXPECT_TRUE(ParseRunOptions({"-h"}).help);
  EXPECT_TRUE(ParseRunOptions({"--help"}).help);
}

}  // namespace
}  // namespace app
