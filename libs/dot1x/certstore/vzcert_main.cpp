// vzcert: the user's certificate store from a terminal.

#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/certstore/vzcert_commands.h"

namespace {

// One line from standard input; not echoed when it is a terminal.
std::string AskPassword() {
  const bool terminal = isatty(STDIN_FILENO) == 1;
  termios saved{};
  if (terminal) {
    std::cerr << "Password: " << std::flush;
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cerr << "\n";
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  certstore::CertStore store(certstore::StoreFolder());
  certstore::Console console{std::cout, std::cerr, &AskPassword};
  return certstore::RunVzcert(store, std::vector<std::string>(argv + 1, argv + argc), console);
}
