#pragma once
// The access point's RADIUS client: one outstanding Access-Request at a time over UDP, sent again
// when the server is slow and given up after the configured tries; only answers made with our
// secret to our request are taken.

#include <chrono>
#include <memory>
#include <optional>

#include "libs/vuzoza/sim/radius_packet.h"

namespace vuzoza {

class RadiusClient {
 public:
  // Null when the address is no IP literal or no socket can be had.
  static std::shared_ptr<RadiusClient> Open(const RadiusServerSpec& server);
  ~RadiusClient();
  RadiusClient(const RadiusClient&) = delete;
  RadiusClient& operator=(const RadiusClient&) = delete;

  // Sends a new Access-Request, replacing any outstanding one.
  [[nodiscard]] bool Send(const radius::RequestFields& fields, std::span<const std::uint8_t> eapMessage);
  // Never blocks: the verified answer when it has arrived; sends the request again when its
  // time is up, and gives up after the last try.
  std::optional<radius::Packet> Poll();
  bool Pending() const { return pending_; }
  bool GaveUp() const { return gaveUp_; }
  // Waits up to `ms` of real time for the server's answer to arrive; safe to call from a thread
  // other than the one that polls.
  void Wait(std::int64_t ms) const;
  // The authenticator of the request last answered, which keys in the answer are hidden with.
  const radius::Authenticator& answeredRequest() const { return answered_; }
  const RadiusServerSpec& server() const { return server_; }

 private:
  RadiusClient(const RadiusServerSpec& server, int socket);
  bool Transmit();

  RadiusServerSpec server_;
  int socket_;
  std::uint8_t id_;
  radius::Authenticator request_{};
  radius::Authenticator answered_{};
  Bytes packet_;
  bool pending_ = false;
  bool gaveUp_ = false;
  int sends_ = 0;
  std::chrono::steady_clock::time_point sentAt_{};
};

}  // namespace vuzoza
