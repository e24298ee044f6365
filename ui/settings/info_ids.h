#pragma once
// Numbers of the information dialog: its template and controls.

namespace ui::settings::information {

inline constexpr int kTemplateId = 161;

namespace id {
inline constexpr int Heading = 1481;
inline constexpr int DriverVersionLabel = 1482;
inline constexpr int DriverVersion = 1230;
inline constexpr int UtilityVersionLabel = 1484;
inline constexpr int UtilityVersion = 1232;
inline constexpr int MacAddressLabel = 1485;
inline constexpr int MacAddress = 1229;
inline constexpr int Ok = 1;
}  // namespace id

}  // namespace ui::settings::information
