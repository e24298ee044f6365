#pragma once
// The setting trees' key table: names, the numbering of enumerated values, and the valid ranges
// with the value that replaces anything outside them. The restore and the profile capture both
// read their ranges from here.

#include <string>
#include <string_view>

namespace config {

namespace key {
inline constexpr std::u16string_view SSID = u"SSID";
inline constexpr std::u16string_view Channel = u"Channel";
inline constexpr std::u16string_view WirelessMode = u"WirelessMode";
inline constexpr std::u16string_view NetworkType = u"NetworkType";
inline constexpr std::u16string_view AuthenticationMode = u"AuthenticationMode";
inline constexpr std::u16string_view WEPStatus = u"WEPStatus";
inline constexpr std::u16string_view WEPKeyLength = u"WEPKeyLength";
inline constexpr std::u16string_view WEPDefaultKeyId = u"WEPDefaultKeyId";
inline constexpr std::u16string_view WEPKeyFormat = u"WEPKeyFormat";
inline constexpr std::u16string_view PowerSaveMode = u"PowerSaveMode";
inline constexpr std::u16string_view FragmentationThreshold = u"FragmentationThreshold";
inline constexpr std::u16string_view RTSThreshold = u"RTSThreshold";
inline constexpr std::u16string_view PreambleMode = u"PreambleMode";
inline constexpr std::u16string_view MultiDomainCapability = u"MultiDomainCapability";
inline constexpr std::u16string_view OperationRegion = u"OperationRegion";
inline constexpr std::u16string_view DesiredRate = u"DesiredRate";
inline constexpr std::u16string_view STATxRate = u"STATxRate";
inline constexpr std::u16string_view PSPXLinkMode = u"PSPXLinkMode";
inline constexpr std::u16string_view WMMQosMode = u"WMMQosMode";
inline constexpr std::u16string_view HideSSID = u"HideSSID";
inline constexpr std::u16string_view ApWirelessMode = u"ApWirelessMode";
inline constexpr std::u16string_view ApProtectionMode = u"ApProtectionMode";
inline constexpr std::u16string_view TxPowerLevel = u"TxPowerLevel";
inline constexpr std::u16string_view MACFilterMode = u"MACFilterMode";
inline constexpr std::u16string_view BridgeAdapter = u"BridgeAdapter";
inline constexpr std::u16string_view Dot1xProtocol = u"Dot1xProtocol";
inline constexpr std::u16string_view Dot1xPassphrase = u"Dot1xPassphrase";
inline constexpr std::u16string_view Dot1xPassphraseFormat = u"Dot1xPassphraseFormat";
inline constexpr std::u16string_view Dot1xUsername = u"Dot1xUsername";
inline constexpr std::u16string_view Dot1xPassword = u"Dot1xPassword";
inline constexpr std::u16string_view Dot1xPhase2Auth = u"Dot1xPhase2Auth";
inline constexpr std::u16string_view Dot1xValidateServerCertificate =
    u"Dot1xValidateServerCertificate";
inline constexpr std::u16string_view Dot1xCertSubject = u"Dot1xCertSubject";
inline constexpr std::u16string_view Dot1xCertIssuer = u"Dot1xCertIssuer";
inline constexpr std::u16string_view Dot1xRC4WEP = u"Dot1xRC4WEP";
}  // namespace key

// Application values (below the application key), shared by start-up and the main window.
namespace app_value {
// Per chip mode (prefixed with it):
inline constexpr std::u16string_view LanguageId = u"LanguageId";
inline constexpr std::u16string_view ProgramTitle = u"VUZidezaProgramTitle";
// Requests of a second instance to the running one: exit, or show the window.
inline constexpr std::u16string_view ExitRequest = u"VUZOzaExit";
inline constexpr std::u16string_view WakeUpRequest = u"VUZOzaWakeUp";
// The operating mode chosen last, "0" or "1".
inline constexpr std::u16string_view OperationMode = u"VUZidezaOperationMode";
// Not prefixed with the chip mode: 1 when this program's own client runs the adapter.
inline constexpr std::u16string_view OwnClientRun = u"OrvexClientRun";
}  // namespace app_value

// "WEPKey" + bits + "_" + index, e.g. WEPKey64_0.
std::u16string WepKeyName(int bits, int index);
// "MACFilterAddr" + index, 0 to 15.
std::u16string MacFilterAddrName(int index);

// Numbering of the operating system's 802.11 driver interface, which the driver library expects.
namespace network_type {
inline constexpr int AdHoc = 0, Infrastructure = 1, Wds = 2, PseudoAdHoc = 3;
}
namespace auth_mode {
inline constexpr int Open = 0, SharedKey = 1, AutoSwitch = 2, Wpa = 3, WpaPsk = 4, WpaNone = 5,
                     Wpa2 = 6, Wpa2Psk = 7;
}
namespace encryption {
inline constexpr int WepOn = 0, Off = 1, WepNoKey = 2, NotSupported = 3, Tkip = 4, TkipNoKey = 5,
                     Aes = 6, AesNoKey = 7;
}
namespace band {  // "WirelessMode": the band in use
inline constexpr int FiveGHz = 2, TwoPointFourGHz = 3, Automatic = 4;
}
// `BandCapability`: which bands the adapter offers.
namespace band_capability {
inline constexpr int TwoPointFourOnly = 0, FiveOnly = 1, Both = 2;
}

struct SettingRange {
  int min;
  int max;
  int fallback;  // replaces an absent (-1) or out-of-range value
  constexpr int Apply(int value) const { return value < min || value > max ? fallback : value; }
};

namespace range {
inline constexpr SettingRange NetworkType{0, 4, 1};
inline constexpr SettingRange StationAuthentication{0, 7, 2};
inline constexpr SettingRange ApAuthentication{0, 1, 0};
inline constexpr SettingRange WEPStatus{0, 7, 1};
inline constexpr SettingRange WEPDefaultKeyId{0, 3, 0};
inline constexpr SettingRange WEPKeyFormat{0, 1, 0};
inline constexpr SettingRange PowerSaveMode{0, 2, 0};
inline constexpr SettingRange FragmentationThreshold{256, 2345, 2346};
inline constexpr SettingRange RTSThreshold{0, 2346, 2347};
inline constexpr SettingRange ApPreambleMode{0, 2, 0};
inline constexpr SettingRange MultiDomainCapability{0, 1, 0};
inline constexpr SettingRange OperationRegion{0, 254, 0};
inline constexpr SettingRange PSPXLinkMode{0, 1, 0};
inline constexpr SettingRange WMMQosMode{0, 1, 0};
inline constexpr SettingRange HideSSID{0, 1, 0};
inline constexpr SettingRange ApWirelessMode{0, 4, 0};
inline constexpr SettingRange ApProtectionMode{0, 3, 0};
inline constexpr SettingRange TxPowerLevel{0, 3, 0};
inline constexpr SettingRange MACFilterMode{0, 2, 0};
// The profile capture accepts any plausible channel; the restore checks by band.
inline constexpr SettingRange CaptureChannel{1, 99, 6};

// The restore's channel range for the adapter's `BandCapability`.
constexpr SettingRange RestoreChannel(int bandCapability) {
  switch (bandCapability) {
    case band_capability::FiveOnly: return {0, 200, 36};
    case band_capability::Both: return {0, 200, 6};
    default: return {0, 14, 6};
  }
}
}  // namespace range

// "WEPKeyLength": 64, 128 or 256; anything else counts as 64.
constexpr int ValidWepKeyBits(int bits) { return bits == 128 || bits == 256 ? bits : 64; }
// Length code toward the driver: 0, 1, 2 for 64, 128, 256 bits.
constexpr int WepLengthCode(int bits) { return bits == 128 ? 1 : bits == 256 ? 2 : 0; }
// Key bytes of a key of `bits` bits: 5, 13 or 29.
constexpr int WepKeyBytes(int bits) { return ValidWepKeyBits(bits) / 8 - 3; }

inline constexpr int kMaxWepKeyBytes = 29;
inline constexpr int kMacFilterEntries = 16;

}  // namespace config
