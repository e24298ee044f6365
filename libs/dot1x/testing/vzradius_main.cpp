// vzradius: FreeRADIUS on 127.0.0.1 for the built-in world's enterprise network, with a
// certificate authority, server and client certificates made on the spot and the network's user,
// until interrupted. For trying the enterprise methods from the program by hand.

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "libs/dot1x/testing/radius_server.h"
#include "libs/dot1x/testing/test_pki.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

std::filesystem::path DefaultFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = data != nullptr && *data != 0 ? std::filesystem::path(data)
                                                                   : std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share";
  return base / "vuzideza" / "radius";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
    std::cerr << "usage: vzradius [FOLDER]\n"
                 "Starts FreeRADIUS on 127.0.0.1:1812 (secret \"vuzoza-secret\", user alice / wonderland), the\n"
                 "server the built-in world's network Corp-Enterprise relays to, with its files in FOLDER\n"
                 "(default " << DefaultFolder().string() << "), until Ctrl-C.\n";
    return 2;
  }
  const std::filesystem::path folder = argc == 2 ? std::filesystem::path(argv[1]) : DefaultFolder();
  try {
    const auto pki = dot1x::testing::MakeTestPki(folder / "pki");
    dot1x::testing::RadiusServerOptions options;
    options.folder = folder / "server";
    options.port = 1812;
    options.secret = "vuzoza-secret";
    options.users = {{"alice", "wonderland"}};
    options.serverCertificate = pki.server;
    options.clientAuthorities = pki.authorityAndCrl;
    std::string error;
    const auto server = dot1x::testing::RadiusServer::Start(options, error);
    if (!server) {
      std::cerr << "vzradius: " << error << "\n";
      return 1;
    }
    std::cout << "FreeRADIUS runs on 127.0.0.1:1812; its log is " << (options.folder / "radius.log").string() << "\n"
              << "Trust its authority and import alice's certificate (password \"" << dot1x::testing::kPkcs12Password
              << "\") into your store:\n"
              << "  vzcert import-ca " << pki.authority.string() << "\n"
              << "  vzcert import " << pki.clientPkcs12.string() << "\n"
              << "Ctrl-C stops it.\n";
    signal(SIGINT, &OnSignal);
    signal(SIGTERM, &OnSignal);
    while (g_stop == 0) pause();
  } catch (const std::exception& e) {
    std::cerr << "vzradius: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
