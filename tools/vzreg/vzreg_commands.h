#pragma once
// Carries out one vzreg command against a registry, talking to the user through a console.

#include <iosfwd>

#include "platform/registry/registry.h"
#include "tools/vzreg/vzreg_args.h"

namespace vzreg {

struct Console {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool interactive;  // `in` is a person at a terminal; otherwise nothing is ever asked
};

// The process exit code: 0 done, 1 failed, refused or cancelled.
int RunCommand(platform::Registry& registry, const Command& command, Console& console);

}  // namespace vzreg
