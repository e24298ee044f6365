#include "ui/main/network_join.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "platform/text/text.h"
#include "ui/main/element_scan.h"
#include "ui/main/site_survey.h"

namespace ui {
namespace {

namespace auth_mode = config::auth_mode;
namespace encryption = config::encryption;

enum class SecurityPath { Wpa2, Wpa, AdHocWpa, OpenOrWep };

// Network types the open-or-WEP path takes over from the entry's infrastructure mode.
constexpr std::uint32_t kNetworkTypesTaken = 5;

SecurityPath ChoosePath(const SecurityElements& elements, std::uint32_t infrastructureMode,
                        const JoinSwitches& switches) {
  const bool wpa = switches.wpaMode && elements.wpaFound;
  const bool rsn = switches.wpa2Mode && elements.rsnFound;
  if (rsn && infrastructureMode == adapter::kSurveyInfrastructure) return SecurityPath::Wpa2;
  if (wpa && infrastructureMode == adapter::kSurveyInfrastructure) return SecurityPath::Wpa;
  if ((wpa || rsn) && infrastructureMode == adapter::kSurveyAdHoc) return SecurityPath::AdHocWpa;
  return SecurityPath::OpenOrWep;
}

// The mode the driver runs now, for networks that name no key management.
int CurrentAuthentication(const config::ApplierContext& context) {
  const std::int32_t current = context.driver.QueryWL_AuthenticationMode(context.adapter);
  return current < 0 || current > auth_mode::Wpa2Psk ? auth_mode::AutoSwitch : current;
}

// "AuthenticationMode" for a WPA-family path; none leaves the stored mode as it is.
std::optional<int> AuthenticationFor(const config::ApplierContext& context, SecurityPath path,
                                     int keyManagement) {
  switch (keyManagement) {
    case key_management_type::None:
      return CurrentAuthentication(context);
    case key_management_type::Ieee8021X:
      if (path == SecurityPath::Wpa2) return auth_mode::Wpa2;
      if (path == SecurityPath::Wpa) return auth_mode::Wpa;
      return std::nullopt;
    case key_management_type::PreSharedKey:
      if (path == SecurityPath::Wpa2) return auth_mode::Wpa2Psk;
      if (path == SecurityPath::Wpa) return auth_mode::WpaPsk;
      return auth_mode::WpaNone;
    default:
      return std::nullopt;
  }
}

struct CipherStep {
  bool prompt;      // ask whether the stored settings are to be used
  int encryption;   // "WEPStatus"
  bool supplicant;  // start the supplicant
};

std::optional<CipherStep> CipherStepFor(int pairwise) {
  switch (pairwise) {
    case cipher_type::UseGroup:
      return CipherStep{false, encryption::Off, false};
    case cipher_type::Wep40:
    case cipher_type::Wep104:
      return CipherStep{true, encryption::WepOn, true};
    case cipher_type::Tkip:
      return CipherStep{true, encryption::Tkip, true};
    case cipher_type::Ccmp:
      return CipherStep{true, encryption::Aes, true};
    default:
      return std::nullopt;
  }
}

class Join {
 public:
  Join(const config::ApplierContext& context, config::SupplicantControl& supplicant,
       JoinQuestions& questions, const JoinSwitches& switches)
      : context_(context), supplicant_(supplicant), questions_(questions), switches_(switches) {}

  void Radio(const adapter::SurveyEntry& entry);
  void Security(const adapter::SurveyEntry& entry);
  void Rates();

 private:
  void WpaFamily(SecurityPath path, const SecurityElements& elements);
  void OpenOrWep(const adapter::SurveyEntry& entry);
  void Wep();

  const config::ApplierContext& context_;
  config::SupplicantControl& supplicant_;
  JoinQuestions& questions_;
  const JoinSwitches& switches_;
};

void Join::Radio(const adapter::SurveyEntry& entry) {
  // A frequency outside every band names no channel; the stored one is kept then.
  if (const std::optional<int> channel = ChannelFromFrequency(entry.frequencyKhz)) {
    // An infrastructure network tells the adapter its channel; an ad hoc one must be given it.
    if (entry.infrastructureMode == adapter::kSurveyInfrastructure) {
      (void)context_.store.WriteSetting(config::key::Channel, platform::Format(u"%d", *channel));
    } else {
      (void)config::ApplyChannel(context_, *channel);
    }
  }
  (void)config::ApplyBand(context_, static_cast<int>(entry.networkTypeInUse));
  (void)context_.driver.SetWL_BSSID(context_.adapter, entry.bssid);
  (void)config::ApplySsid(context_, entry.ssid);
}

void Join::Security(const adapter::SurveyEntry& entry) {
  const SecurityElements elements =
      ScanSecurityElements(entry.informationElements, switches_.wpa2Mode);
  const SecurityPath path = ChoosePath(elements, entry.infrastructureMode, switches_);
  if (path == SecurityPath::OpenOrWep) {
    OpenOrWep(entry);
  } else {
    WpaFamily(path, elements);
  }
}

void Join::WpaFamily(SecurityPath path, const SecurityElements& elements) {
  (void)config::ApplyNetworkType(context_, path == SecurityPath::AdHocWpa
                                               ? config::network_type::AdHoc
                                               : config::network_type::Infrastructure);
  if (const std::optional<int> mode = AuthenticationFor(context_, path, elements.keyManagement)) {
    (void)config::ApplyAuthentication(context_, *mode);
  }
  const std::optional<CipherStep> step = CipherStepFor(elements.pairwise);
  if (!step) return;
  if (step->prompt) {
    const bool rsnPrompt = path == SecurityPath::Wpa2 || (path == SecurityPath::AdHocWpa &&
                                                          switches_.wpa2Mode && elements.rsnFound);
    if (!questions_.UsePreviousSettings(rsnPrompt ? SecurityPrompt::Wpa2 : SecurityPrompt::Wpa)) {
      questions_.EditWpaSettings();
    }
  }
  (void)config::ApplyEncryption(context_, step->encryption);
  if (step->supplicant) supplicant_.StartSupplicant();
}

void Join::OpenOrWep(const adapter::SurveyEntry& entry) {
  if (entry.infrastructureMode < kNetworkTypesTaken) {
    (void)config::ApplyNetworkType(context_, static_cast<int>(entry.infrastructureMode));
  }
  if (entry.privacy != 0) {
    Wep();
    return;
  }
  (void)config::ApplyAuthentication(context_, auth_mode::AutoSwitch);
  (void)config::ApplyEncryption(context_, encryption::Off);
}

void Join::Wep() {
  const bool usePrevious = questions_.UsePreviousSettings(SecurityPrompt::Wep);
  if (!usePrevious) questions_.EditWepKeys();
  (void)config::ApplyAuthentication(context_, auth_mode::AutoSwitch);
  (void)config::ApplyEncryption(context_, encryption::WepOn);
  // Read after the dialog, which may have chosen keys from 802.1X.
  const bool keysFromDot1x =
      switches_.rc4WepSupport && context_.store.ReadSettingInt(config::key::Dot1xRC4WEP) == 1;
  if (keysFromDot1x) {
    supplicant_.StartSupplicant();
  } else if (usePrevious) {
    (void)config::ApplyWep(context_, true);
  }
}

void Join::Rates() {
  using RateSet = std::array<std::uint8_t, VZ_RATE_SET_SIZE>;
  const std::u16string stored(
      platform::Trim(context_.store.ReadSettingString(config::key::DesiredRate)));
  if (!stored.empty()) {
    RateSet parsed{};
    (void)config::HexTextToBytes(config::NarrowText(stored), parsed.data(), parsed.size());
    // One rate fixes the transmit rate, a full set is taken as it stands; a shorter set, and
    // an empty one, stand for the adapter's own.
    const auto firstZero = std::find(parsed.begin(), parsed.end(), 0);
    const bool useStored =
        parsed[0] != 0 && (firstZero == parsed.end() || firstZero == parsed.begin() + 1);
    if (useStored) {
      (void)config::ApplyDesiredRates(context_, parsed);
      return;
    }
  }
  RateSet supported{};
  if (context_.driver.QueryWL_SupportedRate(context_.adapter, supported) != -1) {
    (void)config::ApplyDesiredRates(context_, supported);
  }
}

}  // namespace

void JoinSurveyedNetwork(const config::ApplierContext& context,
                         config::SupplicantControl& supplicant, JoinQuestions& questions,
                         const JoinSwitches& switches, const adapter::SurveyEntry& entry) {
  Join join(context, supplicant, questions, switches);
  join.Radio(entry);
  join.Security(entry);
  join.Rates();
}

}  // namespace ui
