#include "app/product_config.h"

#include <string_view>
#include <utility>

#include "platform/text/text.h"

namespace app {
namespace {

constexpr std::u16string_view kMainInfo = u"MAIN_INFO";
constexpr std::u16string_view kAdapterInformation = u"ADAPTER_INFORMATION";

// One key of "MAIN_INFO"; exactly one of the two members is set. The member's initial value is
// the default.
struct MainInfoKey {
  std::u16string_view key;
  std::u16string ProductConfig::*text;
  int ProductConfig::*number;
};

constexpr MainInfoKey kMainInfoKeys[] = {
    {u"Company_Abbrev", &ProductConfig::companyAbbrev, nullptr},
    {u"ML_SBCS_File", &ProductConfig::sbcsLanguageFile, nullptr},
    {u"ML_Unicode_File", &ProductConfig::unicodeLanguageFile, nullptr},
    {u"Main_Page_Update_Time_ms", nullptr, &ProductConfig::mainPageUpdateTimeMs},
    {u"Show_BSSID", nullptr, &ProductConfig::showBssid},
    {u"Show_dBm", nullptr, &ProductConfig::showDbm},
    {u"PseudoIBSSSupport", nullptr, &ProductConfig::pseudoIbssSupport},
    {u"EnableAccessPoint", nullptr, &ProductConfig::enableAccessPoint},
    {u"Enable_WEP256", nullptr, &ProductConfig::enableWep256},
    {u"TrayIconAnimation", nullptr, &ProductConfig::trayIconAnimation},
    {u"WirelessMode", nullptr, &ProductConfig::wirelessMode},
    {u"QVXOidMode", nullptr, &ProductConfig::qvxOidMode},
    {u"DebugMode", nullptr, &ProductConfig::debugMode},
    {u"WPAMode", nullptr, &ProductConfig::wpaMode},
    {u"WPA2Mode", nullptr, &ProductConfig::wpa2Mode},
    {u"RC4WEPSupport", nullptr, &ProductConfig::rc4WepSupport},
    {u"TxRateAutoShowMax", nullptr, &ProductConfig::txRateAutoShowMax},
    {u"TxRateShowMaxLimit", nullptr, &ProductConfig::txRateShowMaxLimit},
    {u"Bridge_Program", &ProductConfig::bridgeProgram, nullptr},
    {u"QVStrengthMin_dB", nullptr, &ProductConfig::strengthMinDb},
    {u"QVStrengthMax_dB", nullptr, &ProductConfig::strengthMaxDb},
    {u"QVQualityMin", nullptr, &ProductConfig::qualityMin},
    {u"QVQualityMax", nullptr, &ProductConfig::qualityMax},
    {u"IVTBlueToothSupport", nullptr, &ProductConfig::blueToothSupport},
};

void SwapIfReversed(int& min, int& max) {
  if (min > max) std::swap(min, max);
}

}  // namespace

std::filesystem::path ProductFilePath(const std::filesystem::path& programPath) {
  // Only the file name's own extension is replaced, so /opt/v1.2/vuzideza gives
  // /opt/v1.2/vuzideza.INI rather than /opt/v1.INI.
  return std::filesystem::path(programPath).replace_extension(".INI");
}

ProductConfig LoadProductConfig(const std::filesystem::path& productFile) {
  return ReadProductConfig(*platform::IniFile::Load(productFile));
}

ProductConfig ReadProductConfig(const platform::IniFile& file) {
  ProductConfig config;
  for (const MainInfoKey& entry : kMainInfoKeys) {
    if (entry.text != nullptr) {
      std::u16string& value = config.*entry.text;
      value = file.GetString(kMainInfo, entry.key, value, kProductTextCapacity);
    } else {
      int& value = config.*entry.number;
      value = file.GetInt(kMainInfo, entry.key, value);
    }
  }
  SwapIfReversed(config.strengthMinDb, config.strengthMaxDb);
  SwapIfReversed(config.qualityMin, config.qualityMax);

  config.releaseChipMode =
      file.GetString(kAdapterInformation, u"ReleaseChipMode", config.releaseChipMode, kProductTextCapacity);
  for (std::size_t i = 0; i < kMaxMatchingDeviceIds; ++i) {
    std::u16string& slot = config.matchingDeviceIds[i];
    slot = file.GetString(kAdapterInformation, platform::Format(u"MatchingDeviceId%d", i), u"",
                          kProductTextCapacity);
    if (slot.empty()) break;
  }
  return config;
}

}  // namespace app
