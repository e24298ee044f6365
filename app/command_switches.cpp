#include "app/command_switches.h"

#include <climits>
#include <cstdlib>

namespace app {

namespace {

// Switch names are ASCII; other bytes (parts of UTF-8 characters) stay as they are.
std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The C library's atoi, except that numbers beyond the int range saturate instead of being
// undefined: leading blanks and a sign are accepted, conversion stops at the first non-digit,
// and a text without digits gives 0.
int ToCount(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

CommandSwitches ParseCommandSwitches(const std::vector<std::string>& arguments) {
  CommandSwitches switches;
  bool expectCount = false;
  for (const std::string& argument : arguments) {
    if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')) {
      const std::string name = AsciiUpper(argument.substr(1));
      expectCount = false;
      if (name == "EXIT") {
        switches.exit = true;
      } else if (name == "SETWZC") {
        switches.setService = true;
      } else if (name == "FORCEQV") {
        switches.forceOwnClient = true;
      } else if (name == "SETWZCD") {
        switches.delayed.pending = true;
        expectCount = true;
      }
    } else if (expectCount) {
      // Later numbers replace earlier ones until another switch comes.
      switches.delayed.delayTicks = ToCount(argument);
    }
  }
  return switches;
}

}  // namespace app
