// vzreg: see and change the program's registry store from a terminal.

#include <unistd.h>

#include <iostream>

#include "platform/registry/registry.h"
#include "tools/vzreg/vzreg_args.h"
#include "tools/vzreg/vzreg_commands.h"

int main(int argc, char** argv) {
  const vzreg::ParsedArgs parsed = vzreg::ParseArgs(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.command) {
    std::cerr << "ERROR: " << parsed.error << "\n" << vzreg::Usage();
    return 1;
  }
  vzreg::Console console{std::cout, std::cerr, std::cin, ::isatty(STDIN_FILENO) == 1};
  if (parsed.command->operation == vzreg::Operation::Help) {
    std::cout << vzreg::Usage();
    return 0;
  }
  platform::OpenRegistryResult opened = platform::OpenSqliteRegistry(platform::DefaultRegistryDir());
  if (!opened.registry) {
    std::cerr << "ERROR: " << opened.error << "\n";
    return 1;
  }
  return vzreg::RunCommand(*opened.registry, *parsed.command, console);
}
