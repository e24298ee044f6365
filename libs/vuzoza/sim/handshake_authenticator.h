#pragma once
// The access point's side of the pre-shared-key 4-way and group key handshakes on the 802.11i
// engine: the PMK from the network's pass phrase and SSID, retransmission on the program's
// clock, group rekeying every so often, and traffic only while the keys the station installed
// equal the ones the handshake established.

#include "libs/dot1x/wpa/bytes.h"
#include "libs/vuzoza/sim/authenticator.h"

namespace vuzoza {

// How long the access point waits for an answer before it sends its message again.
inline constexpr std::int64_t kRetransmitMs = 1000;

// Networks without a pass phrase get an access point side that never establishes; enterprise
// networks with a RADIUS server relay EAP first (CreateEapRelay).
std::unique_ptr<Authenticator> CreateHandshakeAuthenticator(const AuthenticatorContext& context);
// The handshakes with a PMK that an authentication gave.
std::unique_ptr<Authenticator> CreateKeyHandshake(const AuthenticatorContext& context, const wpa::Pmk& pmk);

}  // namespace vuzoza
