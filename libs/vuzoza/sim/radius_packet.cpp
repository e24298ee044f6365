#include "libs/vuzoza/sim/radius_packet.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cstdio>

namespace vuzoza::radius {
namespace {

constexpr std::size_t kHeader = 20;
constexpr std::size_t kMaxAttributeValue = 253;
constexpr std::uint32_t kVendorMicrosoft = 311;
constexpr std::uint8_t kMsMppeSendKey = 16;
constexpr std::uint8_t kMsMppeRecvKey = 17;
constexpr std::uint32_t kNasPortTypeWireless = 19;
constexpr std::uint32_t kFramedMtu = 1400;

void AppendAttribute(Bytes& out, std::uint8_t type, std::span<const std::uint8_t> value) {
  out.push_back(type);
  out.push_back(static_cast<std::uint8_t>(2 + value.size()));
  out.insert(out.end(), value.begin(), value.end());
}

void AppendText(Bytes& out, std::uint8_t type, std::string_view text) {
  AppendAttribute(out, type,
                  std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                std::min(text.size(), kMaxAttributeValue)));
}

void AppendNumber(Bytes& out, std::uint8_t type, std::uint32_t v) {
  const std::uint8_t value[] = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  AppendAttribute(out, type, value);
}

// "02-5A-A0-00-00-07", the form RFC 3580 gives station ids.
std::string MacText(const Mac& mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
  return text;
}

Authenticator HmacMd5(std::string_view secret, std::span<const std::uint8_t> data) {
  Authenticator out{};
  unsigned length = 0;
  if (HMAC(EVP_md5(), secret.data(), static_cast<int>(secret.size()), data.data(), data.size(), out.data(), &length) ==
      nullptr) {
    out.fill(0);
  }
  return out;
}

Authenticator Md5(std::initializer_list<std::span<const std::uint8_t>> parts) {
  Authenticator out{};
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  bool ok = ctx != nullptr && EVP_DigestInit_ex(ctx, EVP_md5(), nullptr) == 1;
  for (const auto& part : parts) ok = ok && EVP_DigestUpdate(ctx, part.data(), part.size()) == 1;
  unsigned length = 0;
  ok = ok && EVP_DigestFinal_ex(ctx, out.data(), &length) == 1;
  EVP_MD_CTX_free(ctx);
  if (!ok) out.fill(0);
  return out;
}

std::span<const std::uint8_t> Bytes8(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Where the Message-Authenticator's value starts, if the packet has one.
std::optional<std::size_t> MessageAuthenticatorAt(std::span<const std::uint8_t> packet) {
  for (std::size_t at = kHeader; at + 2 <= packet.size() && packet[at + 1] >= 2; at += packet[at + 1]) {
    if (packet[at] == attr::kMessageAuthenticator && packet[at + 1] == 18) return at + 2;
  }
  return std::nullopt;
}

std::optional<Bytes> DecryptMppeKey(std::span<const std::uint8_t> value, const Authenticator& requestAuthenticator,
                                    std::string_view secret) {
  // Salt (2 bytes), then whole 16-byte blocks of key length, key and padding.
  if (value.size() < 2 + 16 || (value.size() - 2) % 16 != 0) return std::nullopt;
  const auto salt = value.subspan(0, 2);
  const auto cipher = value.subspan(2);
  Bytes plain(cipher.size());
  Authenticator b = Md5({Bytes8(secret), requestAuthenticator, salt});
  for (std::size_t i = 0; i < cipher.size(); i += 16) {
    for (std::size_t j = 0; j < 16; ++j) plain[i + j] = cipher[i + j] ^ b[j];
    b = Md5({Bytes8(secret), cipher.subspan(i, 16)});
  }
  const std::size_t length = plain[0];
  if (length == 0 || length + 1 > plain.size()) return std::nullopt;
  Bytes key(plain.begin() + 1, plain.begin() + 1 + static_cast<std::ptrdiff_t>(length));
  OPENSSL_cleanse(plain.data(), plain.size());
  OPENSSL_cleanse(b.data(), b.size());
  return key;
}

}  // namespace

Bytes BuildAccessRequest(std::uint8_t id, const Authenticator& requestAuthenticator, const RequestFields& fields,
                         std::span<const std::uint8_t> eapMessage, std::string_view secret) {
  Bytes out(kHeader, 0);
  out[0] = kAccessRequest;
  out[1] = id;
  std::copy(requestAuthenticator.begin(), requestAuthenticator.end(), out.begin() + 4);
  AppendText(out, attr::kUserName, fields.userName);
  AppendText(out, attr::kNasIdentifier, "vuzoza-ap");
  AppendNumber(out, attr::kNasPort, 1);
  AppendNumber(out, attr::kNasPortType, kNasPortTypeWireless);
  AppendNumber(out, attr::kFramedMtu, kFramedMtu);
  const std::string called =
      MacText(fields.accessPoint) + ":" + std::string(fields.ssid.begin(), fields.ssid.end());
  AppendText(out, attr::kCalledStationId, called);
  AppendText(out, attr::kCallingStationId, MacText(fields.station));
  if (!fields.state.empty()) {
    AppendAttribute(out, attr::kState,
                    std::span<const std::uint8_t>(fields.state.data(), std::min(fields.state.size(), kMaxAttributeValue)));
  }
  for (std::size_t at = 0; at < eapMessage.size(); at += kMaxAttributeValue) {
    AppendAttribute(out, attr::kEapMessage, eapMessage.subspan(at, std::min(kMaxAttributeValue, eapMessage.size() - at)));
  }
  const std::size_t mac = out.size() + 2;
  AppendAttribute(out, attr::kMessageAuthenticator, Authenticator{});
  out[2] = static_cast<std::uint8_t>(out.size() >> 8);
  out[3] = static_cast<std::uint8_t>(out.size());
  const Authenticator value = HmacMd5(secret, out);
  std::copy(value.begin(), value.end(), out.begin() + static_cast<std::ptrdiff_t>(mac));
  return out;
}

std::optional<Packet> Parse(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeader) return std::nullopt;
  const std::size_t length = static_cast<std::size_t>(bytes[2]) << 8 | bytes[3];
  if (length < kHeader || length > bytes.size() || length > kMaxPacket) return std::nullopt;
  Packet p;
  p.code = bytes[0];
  p.id = bytes[1];
  std::copy(bytes.begin() + 4, bytes.begin() + 20, p.authenticator.begin());
  for (std::size_t at = kHeader; at < length;) {
    if (length - at < 2 || bytes[at + 1] < 2 || bytes[at + 1] > length - at) return std::nullopt;
    p.attributes.push_back({bytes[at], Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at + 2),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(at + bytes[at + 1]))});
    at += bytes[at + 1];
  }
  return p;
}

bool VerifyAnswer(std::span<const std::uint8_t> answer, std::uint8_t requestId,
                  const Authenticator& requestAuthenticator, std::string_view secret) {
  const auto packet = Parse(answer);
  if (!packet || packet->id != requestId) return false;
  const std::size_t length = static_cast<std::size_t>(answer[2]) << 8 | answer[3];
  Bytes copy(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(length));
  // Response authenticator: MD5 over the answer with our request authenticator in its place.
  std::copy(requestAuthenticator.begin(), requestAuthenticator.end(), copy.begin() + 4);
  const Authenticator expected = Md5({copy, Bytes8(secret)});
  if (CRYPTO_memcmp(expected.data(), answer.data() + 4, 16) != 0) return false;
  const auto mac = MessageAuthenticatorAt(copy);
  if (!mac) return Find(*packet, attr::kEapMessage) == nullptr;
  const Authenticator given = [&] {
    Authenticator g{};
    std::copy(copy.begin() + static_cast<std::ptrdiff_t>(*mac), copy.begin() + static_cast<std::ptrdiff_t>(*mac + 16),
              g.begin());
    return g;
  }();
  std::fill(copy.begin() + static_cast<std::ptrdiff_t>(*mac), copy.begin() + static_cast<std::ptrdiff_t>(*mac + 16), 0);
  const Authenticator computed = HmacMd5(secret, copy);
  return CRYPTO_memcmp(computed.data(), given.data(), 16) == 0;
}

Bytes EapMessageOf(const Packet& packet) {
  Bytes out;
  for (const Attribute& a : packet.attributes) {
    if (a.type == attr::kEapMessage) out.insert(out.end(), a.value.begin(), a.value.end());
  }
  return out;
}

const Attribute* Find(const Packet& packet, std::uint8_t type) {
  for (const Attribute& a : packet.attributes) {
    if (a.type == type) return &a;
  }
  return nullptr;
}

std::optional<MppeKeys> MppeKeysOf(const Packet& accept, const Authenticator& requestAuthenticator,
                                   std::string_view secret) {
  std::optional<Bytes> recv;
  std::optional<Bytes> send;
  for (const Attribute& a : accept.attributes) {
    // Vendor-Specific: vendor id (4), vendor type, vendor length, value.
    const Bytes& v = a.value;
    if (a.type != attr::kVendorSpecific || v.size() < 6) continue;
    const std::uint32_t vendor = static_cast<std::uint32_t>(v[0]) << 24 | static_cast<std::uint32_t>(v[1]) << 16 |
                                 static_cast<std::uint32_t>(v[2]) << 8 | v[3];
    if (vendor != kVendorMicrosoft || v[5] < 2 || v[5] > v.size() - 4) continue;
    const std::span<const std::uint8_t> value(v.data() + 6, v[5] - 2u);
    if (v[4] == kMsMppeRecvKey) recv = DecryptMppeKey(value, requestAuthenticator, secret);
    if (v[4] == kMsMppeSendKey) send = DecryptMppeKey(value, requestAuthenticator, secret);
  }
  if (!recv || !send || recv->size() < 32 || send->size() < 32) return std::nullopt;
  return MppeKeys{std::move(*recv), std::move(*send)};
}

}  // namespace vuzoza::radius
