// Arbitrary stored settings (registry texts a user can edit) restored onto a recording adapter:
// the restore must finish, push only values inside their ranges, and never overrun a buffer.
//
// Input: one byte of options (bit 0 access point mode, bits 1-2 product band, bit 3 chip type 3
// instead of 1), then the texts of the keys below, separated by newlines, as 8-bit text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/restore.h"
#include "config/setting_keys.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace {

std::vector<std::u16string> FuzzedKeys() {
  using namespace config::key;
  std::vector<std::u16string> keys = {
      std::u16string(WirelessMode), std::u16string(NetworkType),
      std::u16string(AuthenticationMode), std::u16string(Channel),
      std::u16string(WEPKeyLength), std::u16string(WEPDefaultKeyId),
      std::u16string(WEPStatus), std::u16string(MACFilterMode),
      std::u16string(TxPowerLevel), std::u16string(ApWirelessMode),
      std::u16string(ApProtectionMode), std::u16string(PreambleMode),
      std::u16string(FragmentationThreshold), std::u16string(RTSThreshold),
      std::u16string(PowerSaveMode), std::u16string(MultiDomainCapability),
      std::u16string(OperationRegion), std::u16string(DesiredRate),
      std::u16string(STATxRate), std::u16string(Dot1xRC4WEP),
      std::u16string(SSID), std::u16string(HideSSID),
      std::u16string(PSPXLinkMode), std::u16string(WMMQosMode),
      config::WepKeyName(64, 0), config::WepKeyName(128, 1), config::WepKeyName(256, 2),
  };
  for (int i = 0; i < config::kMacFilterEntries; ++i) keys.push_back(config::MacFilterAddrName(i));
  return keys;
}

// The number that follows the first `opener` in a recorded call such as "SetWL_SSID(57414E, 3)".
int NumberAfter(const std::string& call, std::string_view opener) {
  const std::size_t at = call.find(opener);
  if (at == std::string::npos) std::abort();
  return std::atoi(call.c_str() + at + opener.size());
}

int Argument(const std::string& call) { return NumberAfter(call, "("); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const std::vector<std::u16string> keys = FuzzedKeys();
  const std::uint8_t options = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  auto registry = platform::CreateMemoryRegistry();
  config::SettingStore store(*registry);
  store.SetAdapterInstance("0001");
  store.SetOperationMode(options & 1);
  std::size_t start = 0;
  for (const std::u16string& key : keys) {
    if (start > text.size()) break;
    const std::size_t end = std::min(text.find('\n', start), text.size());
    (void)store.WriteSetting(key, platform::WidenCodePage(text.substr(start, end - start)));
    start = end + 1;
  }

  adapter::testing::RecordingAdapterLibrary driver;
  driver.Answer("QueryWL_QVWirelessMode", 2 + (options >> 1 & 3) % 3);
  driver.Answer("QueryWL_SupportedRate", 0);
  driver.AnswerBytes("QueryWL_SupportedRate", {0x82, 0x84, 0x8B, 0x96});
  adapter::AdapterHandle handle{};
  config::RadioState radio;
  const config::ApplierContext context{driver, handle, store, radio};
  platform::VirtualClock clock;
  config::RecordingSupplicantControl supplicant;
  lang::CMultiLanguage language;
  const config::RestoreEnvironment environment{clock, supplicant, language, (options >> 1) & 3,
                                               options & 8 ? 3 : 1};
  if (config::RestoreConfiguration(context, environment) != 0) std::abort();

  for (const std::string& call : driver.Calls("SetWL_Channel")) {
    const int channel = Argument(call);
    if (channel < 0 || channel > 200) std::abort();
  }
  for (const std::string& call : driver.Calls("SetWL_SSID")) {
    if (NumberAfter(call, ", ") > 32) std::abort();
  }
  for (const std::string& call : driver.Calls("SetWL_AuthenticationMode")) {
    const int mode = Argument(call);
    if (mode < 0 || mode > 7) std::abort();
  }
  return 0;
}
