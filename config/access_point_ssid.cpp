#include "config/access_point_ssid.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace config {

std::u16string AccessPointSsid(const SettingStore& store, const lang::CMultiLanguage& language) {
  std::u16string ssid = store.ReadSettingString(key::SSID);
  if (ssid.empty()) ssid = language.LoadLangString(lang::texts::MP_AP_Curr_Net_Setting_SSID_Default);
  ssid.resize(std::min(ssid.size(), kMaxSsidBytes));
  return ssid;
}

int ApplySsidText(const ApplierContext& context, std::u16string_view text) {
  const std::string bytes = platform::NarrowCodePage(text.substr(0, kMaxSsidBytes));
  return ApplySsid(context, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                      std::min(bytes.size(), kMaxSsidBytes)));
}

}  // namespace config
