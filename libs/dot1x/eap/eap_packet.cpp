#include "libs/dot1x/eap/eap_packet.h"

namespace eap {

std::optional<EapolFrame> ParseEapol(ByteSpan bytes) {
  if (bytes.size() < kEapolHeaderSize) return std::nullopt;
  const std::size_t length = Get16(bytes.data() + 2);
  if (kEapolHeaderSize + length > bytes.size()) return std::nullopt;
  EapolFrame frame;
  frame.version = bytes[0];
  frame.type = bytes[1];
  frame.body.assign(bytes.begin() + kEapolHeaderSize, bytes.begin() + kEapolHeaderSize + length);
  return frame;
}

Bytes BuildEapol(std::uint8_t version, std::uint8_t type, ByteSpan body) {
  Bytes out{version, type};
  Append16(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::optional<Packet> ParsePacket(ByteSpan bytes) {
  if (bytes.size() < kEapHeaderSize) return std::nullopt;
  const std::size_t length = Get16(bytes.data() + 2);
  if (length < kEapHeaderSize || length > bytes.size()) return std::nullopt;
  Packet packet;
  packet.id = bytes[1];
  switch (bytes[0]) {
    case static_cast<std::uint8_t>(Code::Request):
    case static_cast<std::uint8_t>(Code::Response):
      if (length < kEapHeaderSize + 1) return std::nullopt;
      packet.code = static_cast<Code>(bytes[0]);
      packet.type = bytes[kEapHeaderSize];
      packet.data.assign(bytes.begin() + kEapHeaderSize + 1, bytes.begin() + length);
      return packet;
    case static_cast<std::uint8_t>(Code::Success):
    case static_cast<std::uint8_t>(Code::Failure):
      packet.code = static_cast<Code>(bytes[0]);
      return packet;
    default:
      return std::nullopt;
  }
}

Bytes BuildPacket(const Packet& packet) {
  const bool typed = packet.code == Code::Request || packet.code == Code::Response;
  Bytes out{static_cast<std::uint8_t>(packet.code), packet.id};
  Append16(out, static_cast<std::uint32_t>(kEapHeaderSize + (typed ? 1 + packet.data.size() : 0)));
  if (typed) {
    out.push_back(packet.type);
    out.insert(out.end(), packet.data.begin(), packet.data.end());
  }
  return out;
}

Bytes BuildResponse(std::uint8_t id, std::uint8_t methodType, ByteSpan data) {
  return BuildPacket({Code::Response, id, methodType, Bytes(data.begin(), data.end())});
}

}  // namespace eap
