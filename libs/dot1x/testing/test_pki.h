#pragma once
// A small public-key infrastructure made on the spot for tests and for a local test server: an
// authority, certificates it issues (server, client, revoked, expired), a revocation list, and a
// second authority that nobody trusts. Keys are P-256, so making them takes no time.

#include <filesystem>
#include <string>
#include <vector>

namespace dot1x::testing {

struct IssuedFiles {
  std::filesystem::path certificate;  // PEM
  std::filesystem::path key;          // PEM, unencrypted
};

struct TestPki {
  std::filesystem::path authority;       // PEM certificate of the trusted authority
  std::filesystem::path authorityAndCrl; // that certificate followed by its revocation list
  IssuedFiles server;                    // "radius.test", for server authentication
  IssuedFiles client;                    // "alice", e-mail alice@example.test, principal alice@corp.test
  std::filesystem::path clientPkcs12;    // the client's certificate and key, password below
  IssuedFiles revokedClient;             // "mallory", listed in the revocation list
  IssuedFiles expiredClient;             // "bob", valid only in the past
  std::filesystem::path rogueAuthority;  // another authority ...
  IssuedFiles rogueServer;               // ... and a server certificate it issued
};

inline constexpr const char* kPkcs12Password = "p12-pass";

// Writes every file into `folder` (created). Throws std::runtime_error when OpenSSL fails.
TestPki MakeTestPki(const std::filesystem::path& folder);

}  // namespace dot1x::testing
