#pragma once
// Numbers of the WEP key dialog, the WEP key information dialog and the WPA dialog: their
// templates and controls.

namespace ui::security_dialogs {

namespace wep_template {
inline constexpr int Id = 157;
}
// Controls of the WEP key dialog.
namespace wep_id {
inline constexpr int Frame = 1468;
inline constexpr int LengthLabel = 1469;
inline constexpr int Length64 = 1207;
inline constexpr int Length128 = 1208;
inline constexpr int Length256 = 1092;
inline constexpr int DefaultKeyLabel = 1470;
inline constexpr int DefaultKey = 1202;  // transmit key "#1" to "#4"
inline constexpr int FormatLabel = 1508;
inline constexpr int Hexadecimal = 1093;
inline constexpr int Ascii = 1094;
inline constexpr int ValueLabel = 1471;
inline constexpr int KeyLabels[4] = {1472, 1473, 1474, 1475};
inline constexpr int Keys[4] = {1044, 1046, 1048, 1050};
inline constexpr int Dot1xKeys = 1212;  // keys from 802.1X authentication
inline constexpr int ChangeApply = 1203;
}  // namespace wep_id

namespace wep_info_template {
inline constexpr int Id = 196;
}
namespace wep_info_id {
inline constexpr int Lines[4] = {1561, 1562, 1563, 1564};
}

namespace dot1x_template {
inline constexpr int Id = 195;
}
// Controls of the WPA dialog.
namespace dot1x_id {
inline constexpr int ChangeApply = 1510;
inline constexpr int ConnectGroup = 1509;
inline constexpr int ProtocolLabel = 1511;
inline constexpr int Protocol = 1520;  // TLS, PEAP, TTLS
inline constexpr int Phase2Label = 1523;
inline constexpr int Phase2 = 1524;  // PAP, CHAP, MSCHAP, MSCHAPv2
inline constexpr int UserNameLabel = 1512;
inline constexpr int UserName = 1281;
inline constexpr int PasswordLabel = 1513;
inline constexpr int Password = 1027;
inline constexpr int ValidateServer = 1567;
inline constexpr int PreSharedGroup = 1517;
inline constexpr int PassphraseLabel = 1514;
inline constexpr int Passphrase = 1521;
inline constexpr int FormatLabel = 1515;
inline constexpr int Ascii = 1518;
inline constexpr int Hexadecimal = 1519;
inline constexpr int CertificateGroup = 1516;
inline constexpr int Certificate = 1522;
}  // namespace dot1x_id

}  // namespace ui::security_dialogs
