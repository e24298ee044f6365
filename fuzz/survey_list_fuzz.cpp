// Arbitrary survey buffers from the driver: the reader must stay inside the bytes it was given
// (at most the 12004 the window hands the driver), and every entry it returns must be usable by
// the network list and the selected-entry panel.
//
// Input: the buffer's bytes; longer inputs are cut to the survey buffer's size.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "adapter/survey_list.h"
#include "ui/main/link_status_view.h"
#include "ui/main/site_survey.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the input is a read past an allocation.
  const std::vector<std::uint8_t> buffer(data, data + std::min(size, adapter::kSurveyBufferSize));
  unsigned sum = 0;
  for (const adapter::SurveyEntry& entry : adapter::ReadSurveyList(buffer)) {
    if (entry.ssid.size() > adapter::kSurveySsidMax) std::abort();
    for (std::uint8_t b : entry.ssid) sum += b;
    for (std::uint8_t b : entry.informationElements) sum += b;
    sum += static_cast<unsigned>(ui::ListStrengthText(entry.signalDbm, false).size());
    sum += static_cast<unsigned>(ui::ListStrengthText(entry.signalDbm, true).size());
    sum += static_cast<unsigned>(ui::ChannelFromFrequency(entry.frequencyKhz).value_or(0));
  }
  return sum == 0xFFFFFFFF ? 1 : 0;
}
