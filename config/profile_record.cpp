#include "config/profile_record.h"

#include <algorithm>

#include "config/setting_keys.h"
#include "config/ssid_push.h"
#include "config/text_conversions.h"
#include "platform/text/text.h"

namespace config {

namespace {

// Stored texts handed to the hexadecimal parser are cut like the 100-byte buffers they fit.
constexpr std::size_t kMaxHexTextCharacters = 99;

std::u16string KeyText(const std::uint8_t* bytes, std::size_t count) {
  return WidenText(BytesToHexText(bytes, count, true));
}

bool NeedsSupplicant(int authentication) {
  return authentication >= auth_mode::Wpa && authentication <= auth_mode::Wpa2Psk;
}

}  // namespace

std::u16string ProfileRecord::DefaultWepKeyText() {
  std::array<std::uint8_t, kMaxWepKeyBytes> key{};
  const auto length = static_cast<std::size_t>(WepKeyBytes(64));
  FillDefaultWepKey(key.data(), length);
  return KeyText(key.data(), length);
}

void CaptureCurrentSettings(const SettingStore& store, ProfileRecord& record) {
  const auto read = [&store](std::u16string_view key) { return store.ReadSettingInt(key); };
  record.networkType = range::NetworkType.Apply(read(key::NetworkType));
  record.wirelessMode = std::max(read(key::WirelessMode), 0);
  record.channel = range::CaptureChannel.Apply(read(key::Channel));
  const std::u16string ssid = store.ReadSettingString(key::SSID);
  record.ssid = ssid.substr(0, kMaxSsidBytes);
  record.wepKeyLength = ValidWepKeyBits(read(key::WEPKeyLength));
  record.wepKeyFormat = range::WEPKeyFormat.Apply(read(key::WEPKeyFormat));
  record.wepDefaultKeyId = range::WEPDefaultKeyId.Apply(read(key::WEPDefaultKeyId));
  const auto keyBytes = static_cast<std::size_t>(WepKeyBytes(record.wepKeyLength));
  for (int index = 0; index < 4; ++index) {
    std::array<std::uint8_t, kMaxWepKeyBytes> key{};
    (void)store.ReadStoredWepKey(record.wepKeyLength, index, key.data(), key.size());
    record.wepKeys[index] = KeyText(key.data(), keyBytes);
  }
  record.authenticationMode = range::StationAuthentication.Apply(read(key::AuthenticationMode));
  record.fragmentationThreshold =
      range::FragmentationThreshold.Apply(read(key::FragmentationThreshold));
  record.rtsThreshold = range::RTSThreshold.Apply(read(key::RTSThreshold));
  record.wepStatus = range::WEPStatus.Apply(read(key::WEPStatus));
  record.powerSaveMode = range::PowerSaveMode.Apply(read(key::PowerSaveMode));

  record.dot1xProtocol = read(key::Dot1xProtocol);
  record.dot1xPassphrase = store.ReadSettingString(key::Dot1xPassphrase);
  record.dot1xPassphraseFormat = read(key::Dot1xPassphraseFormat);
  record.dot1xUsername = store.ReadSettingString(key::Dot1xUsername);
  record.dot1xPassword = store.ReadSettingString(key::Dot1xPassword);
  record.dot1xPhase2Auth = store.ReadSettingString(key::Dot1xPhase2Auth);
  record.dot1xValidateServerCertificate = read(key::Dot1xValidateServerCertificate);
  record.dot1xCertSubject = store.ReadSettingString(key::Dot1xCertSubject);
  record.dot1xCertIssuer = store.ReadSettingString(key::Dot1xCertIssuer);
  record.dot1xRc4Wep = read(key::Dot1xRC4WEP);
}

void ApplyProfileRecord(const ApplierContext& context, const ProfileEnvironment& environment,
                        const ProfileRecord& record) {
  // The running supplicant belongs to the configuration being replaced.
  environment.supplicant.StopSupplicant();

  (void)ApplyPowerSave(context, record.powerSaveMode);
  (void)ApplyFragmentationThreshold(context, record.fragmentationThreshold);
  (void)ApplyRtsThreshold(context, record.rtsThreshold);
  (void)ApplyAuthentication(context, record.authenticationMode);

  const int bits = ValidWepKeyBits(record.wepKeyLength);
  for (int index = 0; index < 4; ++index) {
    std::array<std::uint8_t, kMaxWepKeyBytes> key{};
    const std::u16string_view text(record.wepKeys[index]);
    (void)HexTextToBytes(platform::NarrowCodePage(text.substr(0, kMaxHexTextCharacters)),
                         key.data(), static_cast<std::size_t>(WepKeyBytes(bits)));
    (void)ApplyWepKey(context, index, WepLengthCode(bits), index == record.wepDefaultKeyId, key);
  }

  (void)ApplyEncryption(context, record.wepStatus);
  (void)ApplyBand(context, record.wirelessMode);
  (void)ApplyChannel(context, record.channel);
  (void)ApplyNetworkType(context, record.networkType);

  std::string ssid = platform::NarrowCodePage(platform::Trim(record.ssid));
  ssid.resize(std::min(ssid.size(), kMaxSsidBytes));
  (void)ApplySsidAfterRandom(
      context, environment.clock,
      std::span(reinterpret_cast<const std::uint8_t*>(ssid.data()), ssid.size()));

  SettingStore& store = context.store;
  const auto number = [&store](std::u16string_view key, int value) {
    (void)store.WriteSetting(key, platform::Format(u"%d", value));
  };
  number(key::Dot1xProtocol, record.dot1xProtocol);
  (void)store.WriteSetting(key::Dot1xPassphrase, record.dot1xPassphrase);
  number(key::Dot1xPassphraseFormat, record.dot1xPassphraseFormat);
  (void)store.WriteSetting(key::Dot1xUsername, record.dot1xUsername);
  (void)store.WriteSetting(key::Dot1xPassword, record.dot1xPassword);
  (void)store.WriteSetting(key::Dot1xPhase2Auth, record.dot1xPhase2Auth);
  number(key::Dot1xValidateServerCertificate, record.dot1xValidateServerCertificate);
  (void)store.WriteSetting(key::Dot1xCertSubject, record.dot1xCertSubject);
  (void)store.WriteSetting(key::Dot1xCertIssuer, record.dot1xCertIssuer);
  number(key::Dot1xRC4WEP, record.dot1xRc4Wep);

  if (NeedsSupplicant(record.authenticationMode)) {
    environment.supplicant.StartSupplicant();
  } else if ((record.authenticationMode == auth_mode::Open ||
              record.authenticationMode == auth_mode::AutoSwitch) &&
             record.wepStatus == encryption::WepOn && record.dot1xRc4Wep == 1) {
    // 802.1X with keys from the authentication server: the driver must stay open.
    (void)context.driver.SetWL_AuthenticationMode(context.adapter, auth_mode::Open);
    environment.supplicant.StartSupplicant();
  }
}

}  // namespace config
