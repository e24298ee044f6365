#pragma once
// Numbers of the More Settings dialog: its template and controls.

namespace ui::settings::more_settings {

inline constexpr int kTemplateId = 130;

namespace id {
inline constexpr int AppIcon = -1;  // picture nobody addresses
inline constexpr int GeneralGroup = 1461;
inline constexpr int WirelessModeLabel = 1565;
inline constexpr int WirelessModeBox = 1021;
inline constexpr int ChannelLabel = 1462;
inline constexpr int ChannelBox = 1014;
inline constexpr int TxRateLabel = 1465;  // hidden, yet filled, loaded and applied
inline constexpr int TxRateBox = 1015;    // hidden, yet filled, loaded and applied
inline constexpr int SsidLabel = 1463;
inline constexpr int SsidEdit = 1016;
inline constexpr int AnyCheck = 1235;
inline constexpr int NetworkTypeLabel = 1464;
inline constexpr int NetworkTypeBox = 1017;
inline constexpr int AuthenticationLabel = 1505;
inline constexpr int AuthenticationBox = 1500;
inline constexpr int EncryptionLabel = 1504;
inline constexpr int EncryptionBox = 1294;
inline constexpr int ChangeApplyButton = 1020;
inline constexpr int KeysGroup = 1459;
inline constexpr int WepButton = 1205;
inline constexpr int WpaButton = 1204;
inline constexpr int ProfileGroup = 1458;
inline constexpr int ProfileNameLabel = 1466;
inline constexpr int ProfileBox = 1213;
inline constexpr int LoadButton = 1308;
inline constexpr int SaveButton = 1506;
inline constexpr int DeleteButton = 1295;
inline constexpr int OtherGroup = 1456;
inline constexpr int OtherHint = 1457;
inline constexpr int AdvancedButton = 1005;
inline constexpr int InformationButton = 1222;
}  // namespace id

}  // namespace ui::settings::more_settings
