#pragma once
// How the program was asked to run: which window backend and which clock.

#include <string>
#include <vector>

namespace app {

struct RunOptions {
  bool headless = false;      // automation commands on standard input, JSON on standard output
  bool virtualClock = false;  // time moves only by ticks and sleeps
  bool help = false;
  std::vector<std::string> switches;  // everything else, for the program's own switches
};

RunOptions ParseRunOptions(const std::vector<std::string>& args);
const char* RunOptionsUsage();

}  // namespace app
