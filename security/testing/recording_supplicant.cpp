#include "security/testing/recording_supplicant.h"

#include <algorithm>

namespace security::testing {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::string Narrow(const char16_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text & 0xFF);
  return out;
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

std::vector<std::string> RecordingSupplicantLibrary::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void RecordingSupplicantLibrary::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

std::vector<std::uint8_t> RecordingSupplicantLibrary::LastEapBlock() const {
  std::lock_guard lock(mutex_);
  return lastEapBlock_;
}

std::optional<KeyContext> RecordingSupplicantLibrary::LastKeyContext() const {
  std::lock_guard lock(mutex_);
  return lastKeyContext_;
}

void RecordingSupplicantLibrary::Answer(std::string_view function, std::int32_t result) {
  std::lock_guard lock(mutex_);
  steady_[std::string(function)] = result;
}

void RecordingSupplicantLibrary::AnswerBytes(std::string_view function, std::vector<std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  steadyBytes_[std::string(function)] = std::move(bytes);
}

void RecordingSupplicantLibrary::AnswerNext(std::string_view function, std::int32_t result,
                                            std::optional<std::vector<std::uint8_t>> bytes) {
  std::lock_guard lock(mutex_);
  queued_[std::string(function)].push_back({result, std::move(bytes)});
}

void RecordingSupplicantLibrary::OnKeyNegotiationRun(std::function<void(KeyContext&)> hook) {
  std::lock_guard lock(mutex_);
  runHook_ = std::move(hook);
}

RecordingSupplicantLibrary::Reply RecordingSupplicantLibrary::Take(std::string_view function,
                                                                   std::vector<std::string> arguments) {
  std::lock_guard lock(mutex_);
  std::string call(function);
  call += "(";
  for (std::size_t i = 0; i < arguments.size(); ++i) call += (i > 0 ? ", " : "") + arguments[i];
  calls_.push_back(call + ")");

  if (auto q = queued_.find(function); q != queued_.end() && !q->second.empty()) {
    Reply reply = std::move(q->second.front());
    q->second.pop_front();
    if (!reply.bytes) {
      if (auto b = steadyBytes_.find(function); b != steadyBytes_.end()) reply.bytes = b->second;
    }
    return reply;
  }
  Reply reply;
  reply.result = function == "do_eapol_run" ? 1 : 0;
  if (auto s = steady_.find(function); s != steady_.end()) reply.result = s->second;
  if (auto b = steadyBytes_.find(function); b != steadyBytes_.end()) reply.bytes = b->second;
  return reply;
}

std::int32_t RecordingSupplicantLibrary::Serve(std::string_view function, std::vector<std::string> arguments,
                                               std::span<std::uint8_t> out) {
  const Reply reply = Take(function, std::move(arguments));
  if (reply.bytes) std::copy_n(reply.bytes->begin(), std::min(reply.bytes->size(), out.size()), out.begin());
  return reply.result;
}

std::int32_t RecordingSupplicantLibrary::getMyCertList(CertListOut list) { return Serve("getMyCertList", {}, list); }

std::int32_t RecordingSupplicantLibrary::getMyCertSubjectAltName(const char16_t* subject, const char16_t* issuer,
                                                                 AltNameOut out) {
  return Serve("getMyCertSubjectAltName", {Narrow(subject), Narrow(issuer)},
               std::span(reinterpret_cast<std::uint8_t*>(out.data()), out.size_bytes()));
}

std::int32_t RecordingSupplicantLibrary::genMyCertFile(const char16_t* subject, const char16_t* issuer) {
  return Serve("genMyCertFile", {Narrow(subject), Narrow(issuer)});
}

std::int32_t RecordingSupplicantLibrary::genMySSLFile() { return Serve("genMySSLFile", {}); }

std::int32_t RecordingSupplicantLibrary::genROOTCertFile(const char16_t* subject, const char16_t* issuer) {
  return Serve("genROOTCertFile", {Narrow(subject), Narrow(issuer)});
}

std::int32_t RecordingSupplicantLibrary::genROOTSSLFile() { return Serve("genROOTSSLFile", {}); }

std::int32_t RecordingSupplicantLibrary::do_eapol_init(AdapterHandle&, std::int32_t reserved, MacIn ownMac,
                                                       MacIn bssid, EapBlockIn eapBlock) {
  {
    std::lock_guard lock(mutex_);
    lastEapBlock_.assign(eapBlock.begin(), eapBlock.end());
  }
  return Serve("do_eapol_init", {std::to_string(reserved), Hex(ownMac), Hex(bssid)});
}

std::int32_t RecordingSupplicantLibrary::do_eapol_run() { return Serve("do_eapol_run", {}); }
std::int32_t RecordingSupplicantLibrary::do_eapol_halt() { return Serve("do_eapol_halt", {}); }
std::int32_t RecordingSupplicantLibrary::Get_EAP_Derived_Key(EapKeyOut out) {
  return Serve("Get_EAP_Derived_Key", {}, out);
}

std::int32_t RecordingSupplicantLibrary::Get_PSK_Key_32byte(const char* passphrase, std::span<const std::uint8_t> ssid,
                                                            std::int32_t iterations, std::span<std::uint8_t> out) {
  return Serve("Get_PSK_Key_32byte", {Text(passphrase), Hex(ssid), std::to_string(iterations), std::to_string(out.size())},
               out);
}

std::int32_t RecordingSupplicantLibrary::Get_PMKID(PmkIn pmk, MacIn bssid, MacIn ownMac, PmkidOut out) {
  return Serve("Get_PMKID", {Hex(pmk), Hex(bssid), Hex(ownMac)}, out);
}

std::int32_t RecordingSupplicantLibrary::do_eapol_start(MacIn bssid, MacIn ownMac) {
  return Serve("do_eapol_start", {Hex(bssid), Hex(ownMac)});
}

std::int32_t RecordingSupplicantLibrary::do_key_negotiation_init(AdapterHandle&, KeyContext& context) {
  {
    std::lock_guard lock(mutex_);
    lastKeyContext_ = context;
  }
  return Serve("do_key_negotiation_init", {});
}

std::int32_t RecordingSupplicantLibrary::do_key_negotiation_run(KeyContext& context) {
  std::function<void(KeyContext&)> hook;
  {
    std::lock_guard lock(mutex_);
    hook = runHook_;
  }
  if (hook) hook(context);
  return Serve("do_key_negotiation_run", {});
}

std::int32_t RecordingSupplicantLibrary::Shutdown_Dot1x_Module() { return Serve("Shutdown_Dot1x_Module", {}); }

}  // namespace security::testing
