// Survey buffers from the driver, as the join reads them: the security elements of every entry,
// with and without the WPA2 switch. The scan must stay inside each entry's elements and give
// suite types that are bytes.
//
// Input: the buffer's bytes; longer inputs are cut to the survey buffer's size.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/survey_list.h"
#include "ui/main/element_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the input is a read past an allocation.
  const std::vector<std::uint8_t> buffer(data, data + std::min(size, adapter::kSurveyBufferSize));
  for (const adapter::SurveyEntry& entry : adapter::ReadSurveyList(buffer)) {
    // Each entry's elements copied alone, so that a read past them is caught too.
    const std::vector<std::uint8_t> elements(entry.informationElements.begin(),
                                             entry.informationElements.end());
    for (const bool wpa2Mode : {false, true}) {
      const ui::SecurityElements found = ui::ScanSecurityElements(elements, wpa2Mode);
      if (found.keyManagement < 0 || found.keyManagement > 255) std::abort();
      if (found.pairwise < 0 || found.pairwise > 255) std::abort();
      if (!found.wpaFound && !found.rsnFound && (found.keyManagement != 0 || found.pairwise != 0)) {
        std::abort();
      }
    }
  }
  return 0;
}
