#pragma once
// While one of these lives, every algorithm the default library context is asked for fails to
// load, as on a system whose only provider lacks them (MD5 under FIPS rules, for example).

#include <openssl/evp.h>

namespace wpa::test {

class FailingProvider {
 public:
  // No provider offers the FIPS property here, so every fetch finds nothing.
  FailingProvider() { EVP_default_properties_enable_fips(nullptr, 1); }
  ~FailingProvider() { EVP_default_properties_enable_fips(nullptr, 0); }
  FailingProvider(const FailingProvider&) = delete;
  FailingProvider& operator=(const FailingProvider&) = delete;
};

}  // namespace wpa::test
