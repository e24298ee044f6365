// Answers from the RADIUS server as the simulated access point takes them: parsing, the checks
// against the shared secret, and the MS-MPPE keys never read past the datagram.

#include <cstddef>
#include <cstdint>

#include "libs/vuzoza/sim/radius_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const vuzoza::radius::Authenticator request{};
  (void)vuzoza::radius::VerifyAnswer(bytes, size > 1 ? data[1] : 0, request, "secret");
  if (const auto packet = vuzoza::radius::Parse(bytes)) {
    (void)vuzoza::radius::EapMessageOf(*packet);
    (void)vuzoza::radius::MppeKeysOf(*packet, request, "secret");
  }
  return 0;
}
