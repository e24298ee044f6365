#pragma once
// PEAP version 0 with EAP-MSCHAPv2 inside. Inner packets travel without their EAP header, except
// the extensions packets that carry the result. The server's success is taken only after the
// inner MSCHAPv2 proved the server knows the password and the result exchange said success.

#include <memory>
#include <string>

#include "libs/dot1x/eap/method.h"
#include "libs/dot1x/eap/tls_tunnel.h"

namespace eap {

struct InnerCredentials {
  std::string identity;
  std::string password;
};

std::unique_ptr<Method> MakePeap(std::unique_ptr<TlsTunnel> tunnel, InnerCredentials credentials, RandomSource random);

}  // namespace eap
