#pragma once
// Hardware identifiers of the supported chips and the chip-type code each one means.

#include <array>
#include <string_view>

namespace adapter {

struct ChipTypeRow {
  std::u16string_view hardwareId;  // upper case, as a substring of "MatchingDeviceId"
  int chipType;
};

// Searched in this order; a later matching row overrides an earlier one.
inline constexpr std::array<ChipTypeRow, 6> kChipTypeTable = {{
    {u"USB\\VID_F5A1&PID_7100", 1},
    {u"PCI\\VEN_F5A1&DEV_7200", 2},
    {u"PCI\\VEN_F5A1&DEV_7500", 5},
    {u"USB\\VID_F5A1&PID_7300", 3},
    {u"USB\\VID_F5A1&PID_7400", 4},
    {u"USB\\VID_F5A1&PID_7401", 4},
}};

inline constexpr int kDefaultChipType = 1;

// The chip type of an upper-cased hardware identifier: the code of the last row whose identifier
// occurs in it (so a revision suffix does not matter), else kDefaultChipType.
int ChipTypeOfHardwareId(std::u16string_view upperCaseId);

}  // namespace adapter
