// The access point's RADIUS client against a scripted server socket on the loopback interface:
// what the request carries, which answers it takes, retransmission and giving up.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "libs/vuzoza/sim/radius_client.h"

namespace vuzoza {
namespace {

constexpr const char* kSecret = "shared-secret";

class ScriptedServer {
 public:
  ScriptedServer() {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length), 0);
    port_ = ntohs(a.sin_port);
    timeval timeout{2, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  }
  ~ScriptedServer() { close(fd_); }
  int port() const { return port_; }

  // The next request; empty when none came within two seconds.
  Bytes Receive() {
    Bytes buffer(4096);
    socklen_t length = sizeof peer_;
    const ssize_t n = recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&peer_), &length);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
  }

  // An answer to `request` signed with `secret`: Message-Authenticator, then the response
  // authenticator.
  void Answer(const Bytes& request, std::uint8_t code, std::string_view secret, std::uint8_t idDelta = 0) {
    Bytes out{code, static_cast<std::uint8_t>(request[1] + idDelta), 0, 0};
    out.insert(out.end(), request.begin() + 4, request.begin() + 20);
    const Bytes eap = {0x01, 0x02, 0x00, 0x06, 0x19, 0x20};
    out.push_back(79);
    out.push_back(static_cast<std::uint8_t>(2 + eap.size()));
    out.insert(out.end(), eap.begin(), eap.end());
    const std::size_t mac = out.size() + 2;
    out.push_back(80);
    out.push_back(18);
    out.resize(out.size() + 16, 0);
    out[3] = static_cast<std::uint8_t>(out.size());
    unsigned length = 0;
    HMAC(EVP_md5(), secret.data(), static_cast<int>(secret.size()), out.data(), out.size(), out.data() + mac, &length);
    Bytes hashed = out;
    hashed.insert(hashed.end(), secret.begin(), secret.end());
    EVP_Digest(hashed.data(), hashed.size(), out.data() + 4, &length, EVP_md5(), nullptr);
    sendto(fd_, out.data(), out.size(), 0, reinterpret_cast<const sockaddr*>(&peer_), sizeof peer_);
  }

 private:
  int fd_ = -1;
  int port_ = 0;
  sockaddr_in peer_{};
};

std::shared_ptr<RadiusClient> Client(int port, int timeoutMs = 1000, int tries = 3) {
  RadiusServerSpec spec;
  spec.port = port;
  spec.secret = kSecret;
  spec.timeoutMs = timeoutMs;
  spec.tries = tries;
  return RadiusClient::Open(spec);
}

std::optional<radius::Packet> PollFor(RadiusClient& client, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    if (auto answer = client.Poll()) return answer;
    client.Wait(5);
  }
  return std::nullopt;
}

const radius::RequestFields kFields{"alice", {}, {0x02, 0x5A, 0xA0, 0, 0, 7}, {'C', 'o', 'r', 'p'},
                                    {0x02, 0x5A, 0x71, 0, 0, 1}};

TEST(RadiusClient, RequestCarriesTheEapMessageSplitAndAMessageAuthenticator) {
  ScriptedServer server;
  auto client = Client(server.port());
  ASSERT_TRUE(client);
  const Bytes eap(600, 0x16);
  ASSERT_TRUE(client->Send(kFields, eap));
  const Bytes request = server.Receive();
  const auto packet = radius::Parse(request);
  ASSERT_TRUE(packet);
  EXPECT_EQ(packet->code, radius::kAccessRequest);
  EXPECT_EQ(radius::EapMessageOf(*packet), eap) << "split over three attributes, joined again";
  const auto* user = radius::Find(*packet, radius::attr::kUserName);
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(std::string(user->value.begin(), user->value.end()), "alice");
  const auto* calling = radius::Find(*packet, radius::attr::kCallingStationId);
  ASSERT_NE(calling, nullptr);
  EXPECT_EQ(std::string(calling->value.begin(), calling->value.end()), "02-5A-71-00-00-01");
  // The Message-Authenticator is the HMAC-MD5 of the packet with itself zeroed.
  const auto* mac = radius::Find(*packet, radius::attr::kMessageAuthenticator);
  ASSERT_NE(mac, nullptr);
  Bytes zeroed = request;
  const auto at = std::search(zeroed.begin(), zeroed.end(), mac->value.begin(), mac->value.end());
  std::fill(at, at + 16, 0);
  std::uint8_t expected[16];
  unsigned length = 0;
  HMAC(EVP_md5(), kSecret, static_cast<int>(std::strlen(kSecret)), zeroed.data(), zeroed.size(), expected, &length);
  EXPECT_TRUE(std::equal(mac->value.begin(), mac->value.end(), expected));
}

TEST(RadiusClient, TakesOnlyAnswersMadeWithItsSecretToItsRequest) {
  ScriptedServer server;
  auto client = Client(server.port());
  ASSERT_TRUE(client);
  ASSERT_TRUE(client->Send(kFields, Bytes{2, 1, 0, 5, 1}));
  const Bytes request = server.Receive();
  server.Answer(request, radius::kAccessChallenge, "another secret");
  server.Answer(request, radius::kAccessChallenge, kSecret, 1);  // for another request
  EXPECT_FALSE(PollFor(*client, std::chrono::milliseconds(100)));
  EXPECT_TRUE(client->Pending());
  server.Answer(request, radius::kAccessChallenge, kSecret);
  const auto answer = PollFor(*client, std::chrono::milliseconds(1000));
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->code, radius::kAccessChallenge);
  EXPECT_FALSE(client->Pending());
}

TEST(RadiusClient, SendsAgainWhenTheServerIsSilentAndGivesUpAfterItsTries) {
  ScriptedServer server;
  auto client = Client(server.port(), 50, 3);
  ASSERT_TRUE(client);
  ASSERT_TRUE(client->Send(kFields, Bytes{2, 1, 0, 5, 1}));
  const Bytes first = server.Receive();
  EXPECT_FALSE(PollFor(*client, std::chrono::milliseconds(400)));
  EXPECT_EQ(server.Receive(), first) << "the same request again";
  EXPECT_EQ(server.Receive(), first);
  EXPECT_TRUE(client->GaveUp());
  EXPECT_FALSE(client->Pending());
  // A late answer no longer counts.
  server.Answer(first, radius::kAccessAccept, kSecret);
  EXPECT_FALSE(PollFor(*client, std::chrono::milliseconds(50)));
}

TEST(RadiusClient, OnlyAddressLiteralsAreUsed) {
  RadiusServerSpec spec;
  spec.secret = kSecret;
  spec.address = "radius.example";
  EXPECT_FALSE(RadiusClient::Open(spec));
  spec.address = "::1";
  EXPECT_TRUE(RadiusClient::Open(spec));
}

}  // namespace
}  // namespace vuzoza
