#include "libs/vuzoza/sim/radius_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "libs/dot1x/wpa/crypto.h"

namespace vuzoza {
namespace {

// The server's address, or nothing when the text is no IP literal (names are not looked up).
bool ServerAddress(const RadiusServerSpec& server, sockaddr_storage& out, socklen_t& length) {
  std::memset(&out, 0, sizeof out);
  auto* v4 = reinterpret_cast<sockaddr_in*>(&out);
  if (inet_pton(AF_INET, server.address.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(server.port));
    length = sizeof *v4;
    return true;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&out);
  if (inet_pton(AF_INET6, server.address.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<std::uint16_t>(server.port));
    length = sizeof *v6;
    return true;
  }
  return false;
}

}  // namespace

std::shared_ptr<RadiusClient> RadiusClient::Open(const RadiusServerSpec& server) {
  sockaddr_storage address{};
  socklen_t length = 0;
  if (!ServerAddress(server, address, length)) return nullptr;
  const int fd = socket(address.ss_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  // Connected: the kernel drops datagrams from anyone but the server.
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
    close(fd);
    return nullptr;
  }
  return std::shared_ptr<RadiusClient>(new RadiusClient(server, fd));
}

RadiusClient::RadiusClient(const RadiusServerSpec& server, int socket) : server_(server), socket_(socket) {
  std::uint8_t first = 0;
  if (!wpa::RandomBytes(std::span(&first, 1))) first = 1;
  id_ = first;
}

RadiusClient::~RadiusClient() { close(socket_); }

bool RadiusClient::Send(const radius::RequestFields& fields, std::span<const std::uint8_t> eapMessage) {
  ++id_;
  if (!wpa::RandomBytes(request_)) return false;
  packet_ = radius::BuildAccessRequest(id_, request_, fields, eapMessage, server_.secret);
  pending_ = true;
  gaveUp_ = false;
  sends_ = 0;
  return Transmit();
}

bool RadiusClient::Transmit() {
  ++sends_;
  sentAt_ = std::chrono::steady_clock::now();
  return ::send(socket_, packet_.data(), packet_.size(), 0) == static_cast<ssize_t>(packet_.size());
}

std::optional<radius::Packet> RadiusClient::Poll() {
  if (!pending_) return std::nullopt;
  std::uint8_t buffer[radius::kMaxPacket];
  for (;;) {
    const ssize_t n = recv(socket_, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    const std::span<const std::uint8_t> answer(buffer, static_cast<std::size_t>(n));
    // Late answers to an earlier request, and anything not made with our secret, are dropped.
    if (!radius::VerifyAnswer(answer, id_, request_, server_.secret)) continue;
    auto packet = radius::Parse(answer);
    pending_ = false;
    answered_ = request_;
    return packet;
  }
  if (std::chrono::steady_clock::now() - sentAt_ >= std::chrono::milliseconds(server_.timeoutMs)) {
    if (sends_ < server_.tries) {
      (void)Transmit();
    } else {
      pending_ = false;
      gaveUp_ = true;
    }
  }
  return std::nullopt;
}

void RadiusClient::Wait(std::int64_t ms) const {
  pollfd p{socket_, POLLIN, 0};
  (void)poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(ms, server_.timeoutMs))));
}

}  // namespace vuzoza
