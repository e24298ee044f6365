#pragma once
// Numbers of the advanced settings dialog: its template and controls.

namespace ui::settings::advanced {

inline constexpr int kTemplateId = 159;

namespace id {
inline constexpr int PowerGroup = 1477;
inline constexpr int PowerCam = 1094;          // power mode 0, first of the radio group
inline constexpr int PowerMaximumSaving = 1097;  // power mode 1
inline constexpr int PowerFastSaving = 1095;   // power mode 2
inline constexpr int FragmentGroup = 1478;
inline constexpr int FragmentSlider = 1224;
inline constexpr int FragmentValue = 1226;
inline constexpr int FragmentMinLabel = 1493;
inline constexpr int FragmentMaxLabel = 1494;
inline constexpr int RtsGroup = 1479;
inline constexpr int RtsSlider = 1225;
inline constexpr int RtsValue = 1227;
inline constexpr int RtsMinLabel = 1495;
inline constexpr int RtsMaxLabel = 1496;
inline constexpr int PspXLinkCheck = 1558;
inline constexpr int WmmCheck = 1559;
inline constexpr int SwitchesGroup = 1566;
// Kept hidden and disabled: no behaviour the user can reach.
inline constexpr int InterfaceGroup = 1501;
inline constexpr int LanguageLabel = 1502;
inline constexpr int LanguageBox = 1503;
inline constexpr int RoamingGroup = 1480;
inline constexpr int RoamingUserSelect = 1093;
inline constexpr int RoamingWorldMode = 1092;
inline constexpr int RegionBox = 1292;
inline constexpr int HiddenCheck = 1212;
}  // namespace id

}  // namespace ui::settings::advanced
