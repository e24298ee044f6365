#include "adapter/chip_types.h"

namespace adapter {

int ChipTypeOfHardwareId(std::u16string_view upperCaseId) {
  int chipType = kDefaultChipType;
  for (const ChipTypeRow& row : kChipTypeTable) {
    if (upperCaseId.find(row.hardwareId) != std::u16string_view::npos) chipType = row.chipType;
  }
  return chipType;
}

}  // namespace adapter
