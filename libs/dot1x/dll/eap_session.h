#pragma once
// One EAP authentication over the adapter library's frame path, configured by the EAP block the
// program hands to do_eapol_init.

#include <memory>
#include <optional>
#include <string>

#include "libs/dot1x/eap/peer.h"
#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/wpa/bytes.h"

namespace dot1x {

// The fields of the EAP block (texts cut at their terminator or their room).
struct EapBlock {
  EapBlock() = default;
  EapBlock(const EapBlock&) = delete;
  EapBlock& operator=(const EapBlock&) = delete;
  ~EapBlock();

  std::string outerIdentity;
  std::string password;
  std::string authorityFile;
  std::string certificateFile;
  std::string privateKeyFile;
  std::string method;  // "TLS", "PEAP" or "TTLS"
  std::string phase2;
  std::string innerIdentity;
  bool validateServer = true;
};

void ReadEapBlock(const std::uint8_t* block, EapBlock& out);

class EapSession {
 public:
  // Null, with the reason in `error`, when the block names no method of ours or its files
  // cannot be used.
  static std::unique_ptr<EapSession> Prepare(VzAdapterHandle* adapter, const wpa::MacAddress& bssid,
                                             const EapBlock& block, eap::RandomSource random, std::string& error);

  // Waits up to one step for the access point's next frame and answers it. True once
  // authenticated.
  bool Step();
  bool Succeeded() const;
  bool Failed() const { return peer_.state() == eap::Peer::State::Failed; }
  const std::string& failure() const { return peer_.failure(); }
  // The keying material; none when the access point took a cached key instead of a new
  // authentication.
  std::optional<eap::KeyingMaterial> Keys() const;

 private:
  EapSession(VzAdapterHandle* adapter, const wpa::MacAddress& bssid, std::string outerIdentity,
             std::function<std::unique_ptr<eap::Method>()> makeMethod);

  VzAdapterHandle* adapter_;
  wpa::MacAddress bssid_;
  eap::Peer peer_;
  bool heardEap_ = false;
  bool resumed_ = false;  // the access point went straight to the key handshake
  int quietSteps_ = 0;
  int startsSent_ = 0;
};

}  // namespace dot1x
