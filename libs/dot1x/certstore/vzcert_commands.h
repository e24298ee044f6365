#pragma once
// vzcert: the user's certificate store from a terminal. Imports personal certificates (PKCS#12,
// or PEM certificate with its key) and authority certificates, lists and removes entries.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "libs/dot1x/certstore/cert_store.h"

namespace certstore {

// Where a command writes and how it asks for a password it was not given.
struct Console {
  std::ostream& out;
  std::ostream& err;
  std::function<std::string()> askPassword;
};

std::string VzcertUsage();

// Runs one command line (arguments after the program name). 0 done, 1 failed, 2 bad usage.
int RunVzcert(CertStore& store, const std::vector<std::string>& args, Console& console);

}  // namespace certstore
