#pragma once
// Controls of the main window that the station panels write (link area, information panel
// values, list, Refresh, panel button, mode box).

namespace ui::station_panel::id {

inline constexpr int ModeBox = 1292;
inline constexpr int ListTitle = 1244;
inline constexpr int List = 1243;
inline constexpr int RefreshButton = 1179;
inline constexpr int PanelButton = 1180;
inline constexpr int PanelValue1 = 1188;  // channel
inline constexpr int PanelValue2 = 1189;  // type
inline constexpr int PanelValue3 = 1190;  // SSID, or WEP of a selected entry
inline constexpr int PanelValue4 = 1191;  // transmit rate, or BSSID of a selected entry
inline constexpr int PanelValue5 = 1192;  // encryption
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

}  // namespace ui::station_panel::id
