#pragma once
// How the entries of the More Settings boxes stand for stored values (numbering of the setting
// keys). The entry texts come from the language file; these mappings are fixed.

namespace ui::settings::more_settings {

// Network Type box: ad hoc, infrastructure, pseudo ad hoc.
inline constexpr int kAdHocEntry = 0;
inline constexpr int kInfrastructureEntry = 1;

// A stored "NetworkType" as its entry; values without an entry of their own show as
// infrastructure.
constexpr int NetworkTypeEntry(int stored) {
  return stored == 0 ? 0 : stored == 3 ? 2 : kInfrastructureEntry;
}
// The value an entry applies; none or an unknown one applies infrastructure.
constexpr int NetworkTypeValue(int entry) { return entry == 0 ? 0 : entry == 2 ? 3 : 1; }

// Authentication box: open, shared, automatic, WPA, WPA-PSK, WPA2, WPA2-PSK; WPA-None has no
// entry. -1: no entry.
constexpr int AuthenticationEntry(int stored) {
  if (stored < 0 || stored > 7) return -1;
  return stored == 6 ? 5 : stored == 7 ? 6 : stored;
}
constexpr int AuthenticationValue(int entry) { return entry == 5 ? 6 : entry == 6 ? 7 : entry; }
// Entries offered: three without WPA or in ad hoc, five without WPA2, else seven.
inline constexpr int kAuthenticationWithoutWpa = 3;
inline constexpr int kAuthenticationWithoutWpa2 = 5;
// A WPA mode (or entry) the network type or the product does not offer falls back to the
// automatic choice of open or shared key.
constexpr int OfferedAuthentication(int mode, bool adHoc, bool wpaMode, bool wpa2Mode) {
  if (mode > 2 && (adHoc || !wpaMode)) return 2;
  if (mode > 5 && !wpa2Mode) return 2;
  return mode;
}

// Extended encryption list: disabled, WEP, TKIP, AES. -1: no entry.
constexpr int ExtendedEncryptionEntry(int stored) {
  if (stored < 0 || stored > 7) return -1;
  switch (stored) {
    case 1: return 0;
    case 0: return 1;
    case 4: return 2;
    case 6: return 3;
    default: return stored;  // the "without key" and unsupported states keep their number
  }
}
inline constexpr int kExtendedWepEntry = 1, kExtendedTkipEntry = 2, kExtendedAesEntry = 3;
// Basic encryption list: WEP, disabled.
inline constexpr int kBasicWepEntry = 0, kBasicDisabledEntry = 1;

// Wireless Mode box of a dual-band adapter: 2.4 GHz, 5 GHz.
inline constexpr int kFiveGHzEntry = 1;

}  // namespace ui::settings::more_settings
