#pragma once
// The program's own command-line switches, as installers and log-on scripts use them:
//   EXIT           ask the running instance to exit, then end
//   SETWZC         at start, hand the adapter to whoever "OrvexClientRun" names
//   FORCEQV        at start, take the adapter for this program's own client (wins over SETWZC)
//   SETWZCD [n]    the SETWZC choice n refresh ticks after the main window opens
// An argument starting with '-' or '/' is a switch, matched whole and without letter case;
// others are plain parameters, of which only a number right after SETWZCD counts.

#include <string>
#include <vector>

#include "ui/main/delayed_service_choice.h"

namespace app {

// What the main window gets of the switches: the delayed service choice.
using DelayedServiceChoice = ui::DelayedServiceChoice;

struct CommandSwitches {
  bool exit = false;              // EXIT
  bool setService = false;        // SETWZC
  bool forceOwnClient = false;    // FORCEQV
  DelayedServiceChoice delayed;   // SETWZCD and its count
};

CommandSwitches ParseCommandSwitches(const std::vector<std::string>& arguments);

}  // namespace app
