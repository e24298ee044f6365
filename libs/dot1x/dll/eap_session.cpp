#include "libs/dot1x/dll/eap_session.h"

#include <openssl/crypto.h>

#include <cstring>

#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/dll/key_negotiation.h"
#include "libs/dot1x/eap/peap_method.h"
#include "libs/dot1x/eap/tls_method.h"
#include "libs/dot1x/eap/ttls_method.h"

namespace dot1x {
namespace {

// Where each field of the EAP block sits, and its room.
struct Field {
  std::size_t offset;
  std::size_t room;
};
constexpr Field kOuterIdentity{0, 256};
constexpr Field kPassword{256, 255};
constexpr Field kAuthorityFile{511, 512};
constexpr Field kCertificateFile{1023, 512};
constexpr Field kPrivateKeyFile{2559, 512};
constexpr Field kMethod{3171, 37};
constexpr Field kPhase2{4748, 50};
constexpr Field kInnerIdentity{4798, 517};
constexpr std::size_t kValidateFlag = 5315;

std::string Text(const std::uint8_t* block, Field f) {
  const char* at = reinterpret_cast<const char*>(block + f.offset);
  return std::string(at, strnlen(at, f.room));
}

// Without word from the access point for this many steps the station asks it to start.
constexpr int kQuietStepsBeforeStart = 10;
constexpr int kMaxStarts = 3;
constexpr std::uint8_t kEapolVersion = 1;

eap::TlsConfig TlsConfigOf(const EapBlock& block, bool withClientCertificate) {
  eap::TlsConfig config;
  config.validateServer = block.validateServer;
  config.authorityFile = certstore::ResolveExported(block.authorityFile).string();
  if (withClientCertificate) {
    config.certificateFile = certstore::ResolveExported(block.certificateFile).string();
    config.privateKeyFile = certstore::ResolveExported(block.privateKeyFile).string();
    config.privateKeyPassword = block.password;
  }
  return config;
}

}  // namespace

EapBlock::~EapBlock() { OPENSSL_cleanse(password.data(), password.size()); }

void ReadEapBlock(const std::uint8_t* block, EapBlock& out) {
  out.outerIdentity = Text(block, kOuterIdentity);
  out.password = Text(block, kPassword);
  out.authorityFile = Text(block, kAuthorityFile);
  out.certificateFile = Text(block, kCertificateFile);
  out.privateKeyFile = Text(block, kPrivateKeyFile);
  out.method = Text(block, kMethod);
  out.phase2 = Text(block, kPhase2);
  out.innerIdentity = Text(block, kInnerIdentity);
  // Any value but 0 asks for validation: a flag that was never stored must not turn it off.
  out.validateServer = block[kValidateFlag] != 0;
}

std::unique_ptr<EapSession> EapSession::Prepare(VzAdapterHandle* adapter, const wpa::MacAddress& bssid,
                                                const EapBlock& block, eap::RandomSource random, std::string& error) {
  std::function<std::unique_ptr<eap::Method>()> make;
  const eap::InnerCredentials inner{block.innerIdentity, block.password};
  if (block.method == "TLS") {
    make = [config = TlsConfigOf(block, true)]() -> std::unique_ptr<eap::Method> {
      std::string ignored;
      auto tunnel = eap::TlsTunnel::Create(config, ignored);
      return tunnel ? eap::MakeEapTls(std::move(tunnel)) : nullptr;
    };
  } else if (block.method == "PEAP") {
    if (!block.phase2.empty() && block.phase2 != "MS-CHAPv2") {
      error = "PEAP offers only MS-CHAPv2 inside";
      return nullptr;
    }
    make = [config = TlsConfigOf(block, false), inner, random]() -> std::unique_ptr<eap::Method> {
      std::string ignored;
      auto tunnel = eap::TlsTunnel::Create(config, ignored);
      return tunnel ? eap::MakePeap(std::move(tunnel), inner, random) : nullptr;
    };
  } else if (block.method == "TTLS") {
    const auto kind = eap::TtlsInnerByName(block.phase2);
    if (!kind) {
      error = "unknown inner method for TTLS";
      return nullptr;
    }
    make = [config = TlsConfigOf(block, false), kind = *kind, inner, random]() -> std::unique_ptr<eap::Method> {
      std::string ignored;
      auto tunnel = eap::TlsTunnel::Create(config, ignored);
      return tunnel ? eap::MakeTtls(std::move(tunnel), kind, inner, random) : nullptr;
    };
  } else {
    error = "unknown EAP method";
    return nullptr;
  }
  // Files that cannot be used fail now rather than at the server's first request.
  if (!make()) {
    error = "the certificate or authority files cannot be used";
    return nullptr;
  }
  return std::unique_ptr<EapSession>(new EapSession(adapter, bssid, block.outerIdentity, std::move(make)));
}

EapSession::EapSession(VzAdapterHandle* adapter, const wpa::MacAddress& bssid, std::string outerIdentity,
                       std::function<std::unique_ptr<eap::Method>()> makeMethod)
    : adapter_(adapter), bssid_(bssid), peer_(std::move(outerIdentity), std::move(makeMethod)) {}

bool EapSession::Succeeded() const { return resumed_ || peer_.state() == eap::Peer::State::Succeeded; }

std::optional<eap::KeyingMaterial> EapSession::Keys() const {
  if (resumed_ || peer_.state() != eap::Peer::State::Succeeded) return std::nullopt;
  return peer_.keys();
}

bool EapSession::Step() {
  if (Succeeded()) return true;
  wpa::Bytes frame;
  wpa::MacAddress sender{};
  if (!ReceiveFrame(adapter_, kStepWaitMs, frame, sender)) {
    if (!heardEap_ && !Failed() && ++quietSteps_ >= kQuietStepsBeforeStart && startsSent_ < kMaxStarts) {
      quietSteps_ = 0;
      ++startsSent_;
      const std::uint8_t start[] = {kEapolVersion, eap::kEapolStart, 0, 0};
      (void)SendFrame(adapter_, bssid_, start);
    }
    return false;
  }
  const auto eapol = eap::ParseEapol(frame);
  if (sender != bssid_ || !eapol || Failed()) return false;
  if (eapol->type == eap::kEapolKey) {
    // Straight to the key handshake: the access point holds our key from an earlier
    // authentication. The frame is the handshake's first; keep it for the negotiation.
    if (!heardEap_) {
      resumed_ = true;
      HoldFrame(frame, sender);
    }
    return Succeeded();
  }
  if (eapol->type != eap::kEapolPacket) return false;
  heardEap_ = true;
  if (const auto answer = peer_.OnPacket(eapol->body)) {
    (void)SendFrame(adapter_, bssid_, eap::BuildEapol(kEapolVersion, eap::kEapolPacket, *answer));
  }
  return Succeeded();
}

}  // namespace dot1x
