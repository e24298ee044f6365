#pragma once
// 802.1X with dynamic WEP keys: after the authentication the access point sends its broadcast key
// and the station's own key in RC4-protected EAPOL-Key frames; each frame whose signature holds
// and whose replay counter is new installs its key through the key context's callback.

#include <memory>
#include <optional>

#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/wpa/bytes.h"

namespace dot1x {

class DynamicWep {
 public:
  // A key context asks for dynamic WEP keys when it names no cipher (the 802.1X workers read
  // none) and carries keying material. Null when it lacks the callback or the material, or the
  // adapter's BSSID cannot be read.
  static bool Wanted(const Dot1xKeyContext& context);
  static std::unique_ptr<DynamicWep> Prepare(VzAdapterHandle* adapter, Dot1xKeyContext& context);
  ~DynamicWep();

  const Dot1xKeyContext* context() const { return context_; }
  // Takes one frame, if one arrives in time. True when it installed a key.
  bool Step();

 private:
  DynamicWep(VzAdapterHandle* adapter, Dot1xKeyContext& context, const wpa::MacAddress& bssid);

  VzAdapterHandle* adapter_;
  Dot1xKeyContext* context_;
  wpa::MacAddress bssid_;
  std::optional<std::uint64_t> lastReplayCounter_;
};

}  // namespace dot1x
