#pragma once
// The soft access point's SSID as it is shown and pushed, and pushing an SSID typed as text.

#include <string>
#include <string_view>

#include "config/appliers.h"
#include "config/setting_store.h"
#include "lang/multi_language.h"

namespace config {

// The stored SSID of the current tree cut to 32 characters or, when none is stored, the
// language file's default access point name cut the same way: an access point never goes on
// the air without a name.
std::u16string AccessPointSsid(const SettingStore& store, const lang::CMultiLanguage& language);

// Pushes `text` with the SSID applier: its first 32 characters in the system code page, at most
// 32 bytes.
int ApplySsidText(const ApplierContext& context, std::u16string_view text);

}  // namespace config
