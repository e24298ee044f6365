#pragma once
// The product configuration file: an initialization file beside the program that tailors a build
// for one product (company name, chip mode, language file names, feature switches, refresh period,
// signal scales, accepted hardware identifiers). Read once at start-up; a missing file, section or
// key gives the defaults below, and nothing is reported.
//
// Calls:
//   ProductFilePath(program path)   where the product file of that program is
//   LoadProductConfig(file path)    the values of that file
//   ReadProductConfig(file)         the values of a file already read

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "platform/profile/ini_file.h"

namespace app {

// Texts are read into a buffer of this many characters, so longer values lose their tail.
inline constexpr std::size_t kProductTextCapacity = 256;
// "MatchingDeviceId0" to "MatchingDeviceId19"; the list always ends with an empty slot.
inline constexpr std::size_t kMaxMatchingDeviceIds = 20;

struct ProductConfig {
  // Section "MAIN_INFO"
  std::u16string companyAbbrev = u"Orvex";          // "Company_Abbrev": registry key of the settings
  std::u16string sbcsLanguageFile = u"QVMLa.INI";   // "ML_SBCS_File": 8-bit language file
  std::u16string unicodeLanguageFile = u"QVMLu.INI";  // "ML_Unicode_File": UTF-16 language file
  int mainPageUpdateTimeMs = 1000;                  // "Main_Page_Update_Time_ms": refresh period
  int showBssid = 0;                                // "Show_BSSID"
  int showDbm = 0;                                  // "Show_dBm"
  int pseudoIbssSupport = 1;                        // "PseudoIBSSSupport"
  int enableAccessPoint = 0;                        // "EnableAccessPoint"
  int enableWep256 = 0;                             // "Enable_WEP256"
  int trayIconAnimation = 1;                        // "TrayIconAnimation"
  int wirelessMode = 0;                             // "WirelessMode": 0 2.4 GHz, 1 5 GHz, 2 both
  int qvxOidMode = 0;                               // "QVXOidMode"
  int debugMode = 0;                                // "DebugMode"
  int wpaMode = 0;                                  // "WPAMode"
  int wpa2Mode = 0;                                 // "WPA2Mode"
  int rc4WepSupport = 0;                            // "RC4WEPSupport"
  int txRateAutoShowMax = 0;                        // "TxRateAutoShowMax"
  int txRateShowMaxLimit = 0;                       // "TxRateShowMaxLimit"
  std::u16string bridgeProgram = u"QVBrgApp.EXE";   // "Bridge_Program"
  // Signal and quality scales; each pair is swapped when the minimum is the larger.
  int strengthMinDb = -105;                         // "QVStrengthMin_dB"
  int strengthMaxDb = -40;                          // "QVStrengthMax_dB"
  int qualityMin = 0;                               // "QVQualityMin"
  int qualityMax = 100;                             // "QVQualityMax"
  int blueToothSupport = 0;                         // "IVTBlueToothSupport"

  // Section "ADAPTER_INFORMATION"
  std::u16string releaseChipMode = u"GENERAL";      // "ReleaseChipMode"
  // "MatchingDeviceId%d" from 0, up to the first empty one; users stop at the first empty slot.
  std::array<std::u16string, kMaxMatchingDeviceIds + 1> matchingDeviceIds{};
};

// The program's path with its file extension replaced by ".INI", or ".INI" appended when the
// program file has no extension (as on Linux). Dots in folder names do not count.
std::filesystem::path ProductFilePath(const std::filesystem::path& programPath);

ProductConfig LoadProductConfig(const std::filesystem::path& productFile);
ProductConfig ReadProductConfig(const platform::IniFile& file);

}  // namespace app
