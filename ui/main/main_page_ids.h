#pragma once
// Numbers of the main window: its template, controls, commands, timer and pictures.

namespace ui::main_page {

inline constexpr int kTemplateId = 156;

// Controls of the template.
namespace id {
inline constexpr int AppIcon = -1;              // picture nobody addresses
inline constexpr int AdapterLabel = 1430;
inline constexpr int AdapterBox = 1181;
inline constexpr int ModeLabel = 1441;
inline constexpr int ModeBox = 1292;
inline constexpr int ListTitle = 1244;
inline constexpr int List = 1243;
inline constexpr int RefreshButton = 1179;
inline constexpr int PanelGroup = 1182;
inline constexpr int PanelLabel1 = 1183;        // 1183 to 1187: panel field labels
inline constexpr int PanelLabel2 = 1184;
inline constexpr int PanelLabel3 = 1185;
inline constexpr int PanelLabel4 = 1186;
inline constexpr int PanelLabel5 = 1187;
inline constexpr int PanelValue1 = 1188;        // 1188 to 1192: panel field values
inline constexpr int PanelValue2 = 1189;
inline constexpr int PanelValue3 = 1190;
inline constexpr int PanelValue4 = 1191;
inline constexpr int PanelValue5 = 1192;
inline constexpr int PanelButton = 1180;        // "More Settings..." or "Connect this site"
inline constexpr int LinkStatusLabel = 1442;
inline constexpr int LinkStatusText = 1195;
inline constexpr int SignalLabel = 1365;
inline constexpr int SignalBar = 1130;
inline constexpr int SignalText = 1196;
inline constexpr int QualityLabel = 1366;
inline constexpr int QualityBar = 1140;
inline constexpr int QualityText = 1197;
inline constexpr int TxFrameLabel = 1133;
inline constexpr int TxFrameText = 1198;
inline constexpr int RxFrameLabel = 1134;
inline constexpr int RxFrameText = 1199;
inline constexpr int ActivityIcon = 1410;
inline constexpr int WzcBanner = 1411;
}  // namespace id

// Commands of the tray menu, delivered to the window.
namespace command {
inline constexpr int OpenUtilityWindow = 32771;
inline constexpr int SwitchWzc = 32772;
inline constexpr int Exit = 32773;
}  // namespace command

inline constexpr int kRefreshTimer = 1;

// Icon resources.
namespace icon {
inline constexpr int App = 128;
inline constexpr int ActivityFirst = 175;  // 175, 176, 177: the activity picture's frames
// Tray pictures by tray icon index: 0 and 1 connected (two animation frames), 2 not connected,
// 3 access point, 4 Windows Zero Configuration in control.
inline constexpr int Tray[5] = {189, 192, 193, 178, 174};
}  // namespace icon

namespace tray_index {
inline constexpr int NotConnected = 2;
inline constexpr int AccessPoint = 3;
inline constexpr int Wzc = 4;
}  // namespace tray_index

}  // namespace ui::main_page
