#include "libs/dot1x/eap/ttls_avp.h"

#include <algorithm>

namespace eap::ttls {
namespace {

constexpr std::size_t kHeader = 8;
constexpr std::size_t kVendorHeader = 12;

}  // namespace

void AppendAvp(Bytes& out, const Avp& avp) {
  const std::size_t header = avp.vendor != 0 ? kVendorHeader : kHeader;
  const std::size_t length = header + avp.data.size();
  Append32(out, avp.code);
  out.push_back(static_cast<std::uint8_t>((avp.vendor != 0 ? kFlagVendor : 0) | (avp.mandatory ? kFlagMandatory : 0)));
  out.push_back(static_cast<std::uint8_t>(length >> 16));
  Append16(out, static_cast<std::uint32_t>(length));
  if (avp.vendor != 0) Append32(out, avp.vendor);
  out.insert(out.end(), avp.data.begin(), avp.data.end());
  out.resize(out.size() + (4 - length % 4) % 4, 0);
}

std::optional<std::vector<Avp>> ParseAvps(ByteSpan bytes) {
  std::vector<Avp> avps;
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < kHeader) return std::nullopt;
    const std::uint8_t* p = bytes.data() + at;
    Avp avp;
    avp.code = Get32(p);
    const std::uint8_t flags = p[4];
    avp.mandatory = (flags & kFlagMandatory) != 0;
    const std::size_t length = static_cast<std::size_t>(p[5]) << 16 | Get16(p + 6);
    const std::size_t header = (flags & kFlagVendor) != 0 ? kVendorHeader : kHeader;
    if (length < header || length > bytes.size() - at) return std::nullopt;
    if (header == kVendorHeader) avp.vendor = Get32(p + kHeader);
    avp.data.assign(p + header, p + length);
    avps.push_back(std::move(avp));
    // The padding of the last attribute may be missing.
    at += std::min(bytes.size() - at, length + (4 - length % 4) % 4);
  }
  return avps;
}

const Avp* Find(const std::vector<Avp>& avps, std::uint32_t code, std::uint32_t vendor) {
  for (const Avp& avp : avps) {
    if (avp.code == code && avp.vendor == vendor) return &avp;
  }
  return nullptr;
}

}  // namespace eap::ttls
