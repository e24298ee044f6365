#pragma once
// The access point's own WPA or RSN element as its beacon announced it, read from the adapter's
// site survey list (the 802.11 BSSID list layout of the adapter contract, vuzoza.h). The list
// is the driver's bytes: every count and length in it is checked against the buffer.

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/handshake_frames.h"

namespace wpa {

// The element of `protocol` (RSN: id 48; WPA: the vendor element 00-50-F2 type 1) of the first
// entry listing `bssid`; empty when no entry lists it or its entry carries no such element.
[[nodiscard]] Bytes SurveyedSecurityElement(ByteSpan surveyList, const MacAddress& bssid, Protocol protocol);

}  // namespace wpa
