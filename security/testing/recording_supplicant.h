#pragma once
// A fake supplicant library for tests: records every call with its arguments, in order, and
// answers from a script.
//
// A call is recorded as its C name and its inputs: numbers in decimal, bytes as upper-case hex
// without separators, 8-bit texts as they are, UTF-16 texts cut to their low 8 bits per unit;
// the adapter, the key context and output buffers add nothing (output buffers: only the room of
// a variable-size one). Examples:
//   "Get_PSK_Key_32byte(90817263, 486F6D65, 4096, 32)", "do_eapol_start(025AA0000005, 025A71000001)",
//   "do_key_negotiation_init()", "genMyCertFile(alice, Root CA)".
// The last EAP block and a copy of the last key context handed in are kept.
//
// Answers, per function: the next queued reply if any, else the steady answer, else the
// default: do_eapol_run 1 (authenticated), everything else 0 (getMyCertList: no certificates).
// Scripted bytes are copied into the call's output buffer, cut to its room; without them outputs
// are untouched. A run hook lets a test play the library's side of a handshake step (call the
// context's callbacks). Thread-safe.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "security/supplicant_library.h"

namespace security::testing {

class RecordingSupplicantLibrary final : public SupplicantLibrary {
 public:
  std::vector<std::string> Calls() const;
  void ClearCalls();
  std::vector<std::uint8_t> LastEapBlock() const;
  std::optional<KeyContext> LastKeyContext() const;

  void Answer(std::string_view function, std::int32_t result);
  void AnswerBytes(std::string_view function, std::vector<std::uint8_t> bytes);
  void AnswerNext(std::string_view function, std::int32_t result,
                  std::optional<std::vector<std::uint8_t>> bytes = std::nullopt);
  // Runs inside every do_key_negotiation_run, before its answer is given.
  void OnKeyNegotiationRun(std::function<void(KeyContext&)> hook);

  std::int32_t getMyCertList(CertListOut list) override;
  std::int32_t getMyCertSubjectAltName(const char16_t* subject, const char16_t* issuer, AltNameOut out) override;
  std::int32_t genMyCertFile(const char16_t* subject, const char16_t* issuer) override;
  std::int32_t genMySSLFile() override;
  std::int32_t genROOTCertFile(const char16_t* subject, const char16_t* issuer) override;
  std::int32_t genROOTSSLFile() override;
  std::int32_t do_eapol_init(AdapterHandle& adapter, std::int32_t reserved, MacIn ownMac, MacIn bssid,
                             EapBlockIn eapBlock) override;
  std::int32_t do_eapol_run() override;
  std::int32_t do_eapol_halt() override;
  std::int32_t Get_EAP_Derived_Key(EapKeyOut out) override;
  std::int32_t Get_PSK_Key_32byte(const char* passphrase, std::span<const std::uint8_t> ssid,
                                  std::int32_t iterations, std::span<std::uint8_t> out) override;
  std::int32_t Get_PMKID(PmkIn pmk, MacIn bssid, MacIn ownMac, PmkidOut out) override;
  std::int32_t do_eapol_start(MacIn bssid, MacIn ownMac) override;
  std::int32_t do_key_negotiation_init(AdapterHandle& adapter, KeyContext& context) override;
  std::int32_t do_key_negotiation_run(KeyContext& context) override;
  std::int32_t Shutdown_Dot1x_Module() override;

 private:
  struct Reply {
    std::int32_t result = 0;
    std::optional<std::vector<std::uint8_t>> bytes;
  };
  // Records the call and takes its answer.
  Reply Take(std::string_view function, std::vector<std::string> arguments);
  std::int32_t Serve(std::string_view function, std::vector<std::string> arguments,
                     std::span<std::uint8_t> out = {});

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::map<std::string, std::int32_t, std::less<>> steady_;
  std::map<std::string, std::vector<std::uint8_t>, std::less<>> steadyBytes_;
  std::map<std::string, std::deque<Reply>, std::less<>> queued_;
  std::vector<std::uint8_t> lastEapBlock_;
  std::optional<KeyContext> lastKeyContext_;
  std::function<void(KeyContext&)> runHook_;
};

}  // namespace security::testing
