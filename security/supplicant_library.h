#pragma once
// The supplicant library as the core sees it: one virtual function per C function of
// dot1x_dll.h, same name, same arguments in the same order, same result. Fixed-size buffers are
// fixed-extent spans; a buffer with a length argument is a span whose size is passed as that
// length. Meanings, results and failure values are documented once, at the C declaration of the
// same name.

#include <cstdint>
#include <span>

#include "adapter/adapter_library.h"
#include "libs/dot1x/include/dot1x_dll.h"

namespace security {

using adapter::AdapterHandle;
using KeyContext = Dot1xKeyContext;
using MacIn = std::span<const std::uint8_t, VZ_MAC_SIZE>;
using CertListOut = std::span<std::uint8_t, DOT1X_CERT_LIST_SIZE>;
using AltNameOut = std::span<char16_t, DOT1X_SUBJECT_ALT_NAME_UNITS>;
using EapBlockIn = std::span<const std::uint8_t, DOT1X_EAP_BLOCK_SIZE>;
using EapKeyOut = std::span<std::uint8_t, 128>;
using PmkIn = std::span<const std::uint8_t, 32>;
using PmkidOut = std::span<std::uint8_t, 16>;

// Called from the supplicant thread only; texts marked UTF-16 are terminated char16_t texts.
class SupplicantLibrary {
 public:
  virtual ~SupplicantLibrary() = default;

  // Certificates
  virtual std::int32_t getMyCertList(CertListOut list) = 0;
  virtual std::int32_t getMyCertSubjectAltName(const char16_t* subject, const char16_t* issuer,
                                               AltNameOut out) = 0;
  virtual std::int32_t genMyCertFile(const char16_t* subject, const char16_t* issuer) = 0;
  virtual std::int32_t genMySSLFile() = 0;
  virtual std::int32_t genROOTCertFile(const char16_t* subject, const char16_t* issuer) = 0;
  virtual std::int32_t genROOTSSLFile() = 0;

  // EAP authentication
  virtual std::int32_t do_eapol_init(AdapterHandle& adapter, std::int32_t reserved, MacIn ownMac, MacIn bssid,
                                     EapBlockIn eapBlock) = 0;
  virtual std::int32_t do_eapol_run() = 0;
  virtual std::int32_t do_eapol_halt() = 0;
  virtual std::int32_t Get_EAP_Derived_Key(EapKeyOut out) = 0;

  // Key derivations
  virtual std::int32_t Get_PSK_Key_32byte(const char* passphrase, std::span<const std::uint8_t> ssid,
                                          std::int32_t iterations, std::span<std::uint8_t> out) = 0;
  virtual std::int32_t Get_PMKID(PmkIn pmk, MacIn bssid, MacIn ownMac, PmkidOut out) = 0;

  // Key negotiation
  virtual std::int32_t do_eapol_start(MacIn bssid, MacIn ownMac) = 0;
  virtual std::int32_t do_key_negotiation_init(AdapterHandle& adapter, KeyContext& context) = 0;
  virtual std::int32_t do_key_negotiation_run(KeyContext& context) = 0;

  // Lifecycle
  virtual std::int32_t Shutdown_Dot1x_Module() = 0;
};

}  // namespace security
