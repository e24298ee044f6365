// An arbitrary profile list (as a person editing the store, or a damaged store, might leave it)
// walked, extended, loaded and pruned: every walk must end, list each profile once, and loading
// must push only what fits the driver's buffers.
//
// Input: 8-bit lines. The first is the application key's "ProfileLink"; each further line is a
// profile key: its name, then tab-separated "value name=text" pairs ("ProfileLink=next",
// "SSID=...", "WEPKeyLength=...", ...), stored as text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/profile_actions.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

void CheckListedOnce(config::ProfileStore& profiles) {
  std::set<std::u16string> seen;
  for (const std::u16string& name : profiles.ProfileNames()) {
    if (!seen.insert(config::ProfileCompareName(name)).second) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = Split(text, '\n');

  auto registry = platform::CreateMemoryRegistry();
  config::SettingStore store(*registry);
  store.SetAdapterInstance("0001");
  (void)store.WriteAppText(u"ProfileLink", platform::WidenCodePage(lines[0]));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string_view> fields = Split(lines[i], '\t');
    const std::u16string key =
        store.ApplicationKey() + u"\\Profile\\" + platform::WidenCodePage(fields[0]);
    for (std::size_t f = 1; f < fields.size(); ++f) {
      const std::size_t equals = fields[f].find('=');
      if (equals == std::string_view::npos) continue;
      (void)registry->SetValue(platform::RegRoot::CurrentUser, key,
                               platform::WidenCodePage(fields[f].substr(0, equals)),
                               platform::RegValue::Text(
                                   platform::WidenCodePage(fields[f].substr(equals + 1))));
    }
  }

  config::ProfileStore profiles(store);
  CheckListedOnce(profiles);
  const std::vector<std::u16string> before = profiles.ProfileNames();

  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle handle{};
  config::RadioState radio;
  const config::ApplierContext context{driver, handle, store, radio};
  platform::VirtualClock clock;
  config::RecordingSupplicantControl supplicant;
  for (const std::u16string& name : before) {
    if (config::LoadProfile(profiles, context, {clock, supplicant}, name) != 0) std::abort();
  }
  for (const std::string& call : driver.Calls("SetWL_SSID")) {
    if (std::atoi(call.c_str() + call.rfind(", ") + 2) > 32) std::abort();
  }

  const std::u16string added = u"fuzz-added-profile";
  if (profiles.FindProfile(added) != 0) {
    if (profiles.AddProfile(added) != 0) std::abort();
    const std::vector<std::u16string> after = profiles.ProfileNames();
    if (after.empty() || after.back() != added) std::abort();
  }
  CheckListedOnce(profiles);
  if (!before.empty()) {
    if (profiles.DeleteProfile(before.front()) != 0) std::abort();
    if (profiles.FindProfile(before.front()) == 0) std::abort();
    CheckListedOnce(profiles);
  }
  return 0;
}
