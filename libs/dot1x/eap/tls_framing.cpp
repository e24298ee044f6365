#include "libs/dot1x/eap/tls_framing.h"

#include <algorithm>

namespace eap {

std::optional<TlsPiece> ParseTlsPiece(ByteSpan methodData) {
  if (methodData.empty()) return std::nullopt;
  TlsPiece piece;
  piece.flags = methodData[0];
  std::size_t at = 1;
  if ((piece.flags & tls_flags::kLengthIncluded) != 0) {
    if (methodData.size() < at + 4) return std::nullopt;
    piece.totalLength = Get32(methodData.data() + at);
    at += 4;
  }
  piece.data.assign(methodData.begin() + static_cast<std::ptrdiff_t>(at), methodData.end());
  return piece;
}

Bytes BuildTlsPiece(const TlsPiece& piece) {
  Bytes out{piece.flags};
  if (piece.totalLength) Append32(out, *piece.totalLength);
  out.insert(out.end(), piece.data.begin(), piece.data.end());
  return out;
}

TlsReassembly::Result TlsReassembly::Add(const TlsPiece& piece) {
  if (refused_) return Result::Refused;
  if (piece.totalLength && buffer_.empty()) expected_ = piece.totalLength;
  const std::size_t limit = expected_ ? std::min<std::size_t>(*expected_, kMaxTlsMessage) : kMaxTlsMessage;
  if ((expected_ && *expected_ > kMaxTlsMessage) || buffer_.size() + piece.data.size() > limit) {
    refused_ = true;
    buffer_.clear();
    return Result::Refused;
  }
  buffer_.insert(buffer_.end(), piece.data.begin(), piece.data.end());
  return (piece.flags & tls_flags::kMoreFragments) != 0 ? Result::NeedMore : Result::Complete;
}

Bytes TlsReassembly::Take() {
  expected_.reset();
  Bytes out;
  out.swap(buffer_);
  return out;
}

std::deque<TlsPiece> Fragment(ByteSpan message, std::uint8_t versionBits, std::size_t payload) {
  std::deque<TlsPiece> pieces;
  const bool several = message.size() > payload;
  for (std::size_t at = 0; at < message.size() || pieces.empty(); at += payload) {
    const std::size_t n = std::min(payload, message.size() - at);
    TlsPiece piece;
    piece.flags = static_cast<std::uint8_t>(versionBits & tls_flags::kVersionMask);
    if (at + n < message.size()) piece.flags |= tls_flags::kMoreFragments;
    if (several && at == 0) {
      piece.flags |= tls_flags::kLengthIncluded;
      piece.totalLength = static_cast<std::uint32_t>(message.size());
    }
    piece.data.assign(message.begin() + static_cast<std::ptrdiff_t>(at),
                      message.begin() + static_cast<std::ptrdiff_t>(at + n));
    pieces.push_back(std::move(piece));
    if (message.empty()) break;
  }
  return pieces;
}

}  // namespace eap
