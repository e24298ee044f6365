#pragma once
// FreeRADIUS on the loopback interface for tests: a configuration generated into a folder of its
// own (server certificate, the authority and revocation list client certificates are checked
// against, users with passwords, one RADIUS client with a shared secret), a free port, started in
// the foreground and stopped when the object goes. A server that cannot start is an error with
// its log, never a silent skip.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "libs/dot1x/testing/test_pki.h"

namespace dot1x::testing {

struct RadiusUser {
  std::string name;
  std::string password;
};

struct RadiusServerOptions {
  std::filesystem::path folder;  // created; holds configuration, log and run files
  std::string secret = "vuzoza-secret";
  std::vector<RadiusUser> users;
  IssuedFiles serverCertificate;
  std::filesystem::path clientAuthorities;  // authorities (and revocation lists) for EAP-TLS clients
  bool checkRevocation = true;
  int port = 0;  // 0: a free one
};

class RadiusServer {
 public:
  // Null with the reason (and the server's log) in `error`.
  static std::unique_ptr<RadiusServer> Start(const RadiusServerOptions& options, std::string& error);
  ~RadiusServer();
  RadiusServer(const RadiusServer&) = delete;
  RadiusServer& operator=(const RadiusServer&) = delete;

  int port() const { return port_; }
  const std::string& secret() const { return secret_; }
  // The server's log so far, for failure messages.
  std::string Log() const;

 private:
  RadiusServer(pid_t pid, int port, std::string secret, std::filesystem::path log);

  pid_t pid_;
  int port_;
  std::string secret_;
  std::filesystem::path log_;
};

// The path of the freeradius program, empty when it is not installed.
std::filesystem::path FreeRadiusProgram();

}  // namespace dot1x::testing
