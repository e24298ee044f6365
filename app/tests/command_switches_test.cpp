// The program's own switches: prefix and letter case do not matter, names match whole, and the
// delay count belongs only to the SETWZCD right before it.
#include "app/command_switches.h"

#include <climits>

#include <gtest/gtest.h>

namespace app {
namespace {

struct Case {
  std::vector<std::string> arguments;
  bool exit, setService, forceOwnClient, delayed;
  int delayTicks;
};

TEST(CommandSwitches, Table) {
  const Case cases[] = {
      {{}, false, false, false, false, 0},
      {{"/exit"}, true, false, false, false, 0},
      {{"-EXIT"}, true, false, false, false, 0},
      {{"/ExIt"}, true, false, false, false, 0},
      {{"/EXITNOW"}, false, false, false, false, 0},
      {{"EXIT"}, false, false, false, false, 0},  // a plain parameter, not a switch
      {{"/"}, false, false, false, false, 0},
      {{""}, false, false, false, false, 0},
      {{"/setwzc"}, false, true, false, false, 0},
      {{"-forceqv", "/SETWZC"}, false, true, true, false, 0},
      {{"/SETWZCD"}, false, false, false, true, 0},
      {{"/SETWZCD", "5"}, false, false, false, true, 5},
      {{"/SETWZCD", "5", "7"}, false, false, false, true, 7},   // later numbers replace
      {{"/SETWZCD", "/SETWZC", "5"}, false, true, false, true, 0},  // another switch came between
      {{"5", "/SETWZCD"}, false, false, false, true, 0},
      {{"/SETWZCD", "abc"}, false, false, false, true, 0},
      {{"/SETWZCD", " 12x"}, false, false, false, true, 12},
      {{"/SETWZCD", "-3"}, false, false, false, true, 0},  // a switch, not a number
      {{"/SETWZCD", " -3"}, false, false, false, true, -3},
      {{"/SETWZCD", "99999999999999999999"}, false, false, false, true, INT_MAX},
      {{"/SETWZCD", " -99999999999999999999"}, false, false, false, true, INT_MIN},
      {{"/SETWZCD", "/UNKNOWN", "5"}, false, false, false, true, 0},
      {{"/s\xc3\xa9twzc"}, false, false, false, false, 0},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.arguments) shown += "[" + a + "]";
    SCOPED_TRACE(shown);
    const CommandSwitches s = ParseCommandSwitches(c.arguments);
    EXPECT_EQ(s.exit, c.exit);
    EXPECT_EQ(s.setService, c.setService);
    EXPECT_EQ(s.forceOwnClient, c.forceOwnClient);
    EXPECT_EQ(s.delayed.pending, c.delayed);
    EXPECT_EQ(s.delayed.delayTicks, c.delayTicks);
  }
}

}  // namespace
}  // namespace app
