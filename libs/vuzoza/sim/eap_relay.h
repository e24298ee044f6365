#pragma once
// The access point of an enterprise network as 802.1X authenticator: it asks the station for its
// identity at association, relays the EAP exchange to the network's RADIUS server, and on the
// server's acceptance takes the keying material from its MS-MPPE keys: the PMK of the WPA or
// WPA2 handshakes, or the keys that protect the WEP keys it then sends (802.1X with dynamic WEP).

#include "libs/vuzoza/sim/authenticator.h"

namespace vuzoza {

// How often and how long the access point repeats an EAP request the station leaves unanswered.
inline constexpr int kEapRequestSends = 4;

// Null when the network names no RADIUS server or no socket can be had for it.
std::unique_ptr<Authenticator> CreateEapRelay(const AuthenticatorContext& context);

}  // namespace vuzoza
