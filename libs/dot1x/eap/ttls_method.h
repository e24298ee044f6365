#pragma once
// EAP-TTLS version 0 with PAP, CHAP, MS-CHAP or MS-CHAPv2 inside, sent as attributes right after
// the handshake. The server's success is taken only after the inner credentials went out and,
// for MS-CHAPv2, after the server proved it knows the password.

#include <memory>
#include <optional>
#include <string_view>

#include "libs/dot1x/eap/method.h"
#include "libs/dot1x/eap/peap_method.h"
#include "libs/dot1x/eap/tls_tunnel.h"

namespace eap {

enum class TtlsInner { Pap, Chap, MsChap, MsChapV2 };

// The inner method by its name in the settings ("PAP", "CHAP", "MSCHAP", "MSCHAPv2"; letter case
// ignored), none for any other.
std::optional<TtlsInner> TtlsInnerByName(std::string_view name);

std::unique_ptr<Method> MakeTtls(std::unique_ptr<TlsTunnel> tunnel, TtlsInner inner, InnerCredentials credentials,
                                 RandomSource random);

}  // namespace eap
