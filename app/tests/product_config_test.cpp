#include "app/product_config.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text/text.h"

namespace app {
namespace {

using Ids = std::vector<std::u16string>;

// The identifiers up to the first empty slot, checking that one exists.
Ids MatchingIds(const ProductConfig& config) {
  Ids ids;
  for (const std::u16string& id : config.matchingDeviceIds) {
    if (id.empty()) return ids;
    ids.push_back(id);
  }
  ADD_FAILURE() << "the identifier list has no empty slot at its end";
  return ids;
}

ProductConfig Read(const std::string& fileText) { return ReadProductConfig(*platform::IniFile::Parse(fileText)); }

TEST(ProductConfig, WithoutFileEveryValueHasItsDefault) {
  const ProductConfig c = LoadProductConfig("/nonexistent/vz-product/vuzideza.INI");
  struct {
    const char* key;
    int actual, expected;
  } const numbers[] = {
      {"Main_Page_Update_Time_ms", c.mainPageUpdateTimeMs, 1000},
      {"Show_BSSID", c.showBssid, 0},
      {"Show_dBm", c.showDbm, 0},
      {"PseudoIBSSSupport", c.pseudoIbssSupport, 1},
      {"EnableAccessPoint", c.enableAccessPoint, 0},
      {"Enable_WEP256", c.enableWep256, 0},
      {"TrayIconAnimation", c.trayIconAnimation, 1},
      {"WirelessMode", c.wirelessMode, 0},
      {"QVXOidMode", c.qvxOidMode, 0},
      {"DebugMode", c.debugMode, 0},
      {"WPAMode", c.wpaMode, 0},
      {"WPA2Mode", c.wpa2Mode, 0},
      {"RC4WEPSupport", c.rc4WepSupport, 0},
      {"TxRateAutoShowMax", c.txRateAutoShowMax, 0},
      {"TxRateShowMaxLimit", c.txRateShowMaxLimit, 0},
      {"QVStrengthMin_dB", c.strengthMinDb, -105},
      {"QVStrengthMax_dB", c.strengthMaxDb, -40},
      {"QVQualityMin", c.qualityMin, 0},
      {"QVQualityMax", c.qualityMax, 100},
      {"IVTBlueToothSupport", c.blueToothSupport, 0},
  };
  for (const auto& n : numbers) EXPECT_EQ(n.actual, n.expected) << n.key;
  EXPECT_EQ(c.companyAbbrev, u"Orvex");
  EXPECT_EQ(c.sbcsLanguageFile, u"QVMLa.INI");
  EXPECT_EQ(c.unicodeLanguageFile, u"QVMLu.INI");
  EXPECT_EQ(c.bridgeProgram, u"QVBrgApp.EXE");
  EXPECT_EQ(c.releaseChipMode, u"GENERAL");
  EXPECT_EQ(MatchingIds(c), Ids{});
}

TEST(ProductConfig, ReadsNumbersAndSwapsReversedScales) {
  struct {
    const char* name;
    std::string mainInfo;
    int strengthMin, strengthMax, qualityMin, qualityMax, updateTime;
  } const cases[] = {
      {"reversed strength", "QVStrengthMin_dB=-40\nQVStrengthMax_dB=-90\n", -90, -40, 0, 100, 1000},
      {"reversed quality", "QVQualityMin=80\nQVQualityMax=20\n", -105, -40, 20, 80, 1000},
      {"minimum above the default maximum", "QVStrengthMin_dB=-20\n", -40, -20, 0, 100, 1000},
      {"equal bounds stay", "QVQualityMin=50\nQVQualityMax=50\n", -105, -40, 50, 50, 1000},
      {"signs and blanks", "QVStrengthMin_dB=  -99\nQVStrengthMax_dB=+5\nMain_Page_Update_Time_ms=500\n", -99, 5, 0,
       100, 500},
      {"digits up to the first other character", "Main_Page_Update_Time_ms=250ms\nQVQualityMax=1e3\n", -105, -40, 0,
       1, 250},
      {"no digits read as 0", "Main_Page_Update_Time_ms=fast\nQVStrengthMin_dB=-\n", -40, 0, 0, 100, 0},
      {"empty value keeps the default", "Main_Page_Update_Time_ms=\n", -105, -40, 0, 100, 1000},
      {"keys compare without case", "main_page_update_time_ms=200\n", -105, -40, 0, 100, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProductConfig config = Read("[MAIN_INFO]\n" + c.mainInfo);
    EXPECT_EQ(config.strengthMinDb, c.strengthMin);
    EXPECT_EQ(config.strengthMaxDb, c.strengthMax);
    EXPECT_EQ(config.qualityMin, c.qualityMin);
    EXPECT_EQ(config.qualityMax, c.qualityMax);
    EXPECT_EQ(config.mainPageUpdateTimeMs, c.updateTime);
  }
}

TEST(ProductConfig, ReadsMatchingDeviceIdsUpToTheFirstEmptyOne) {
  std::string twentyOne;
  Ids twenty;
  for (int i = 0; i <= 20; ++i) {
    const std::string id = "USB\\VID_F5A1&PID_" + std::to_string(7000 + i);
    twentyOne += "MatchingDeviceId" + std::to_string(i) + "=" + id + "\n";
    if (i < 20) twenty.push_back(platform::FromUtf8(id));
  }
  struct {
    const char* name;
    std::string section;
    Ids expected;
  } const cases[] = {
      {"gap after the first", "MatchingDeviceId0=A\nMatchingDeviceId2=C\n", {u"A"}},
      {"empty value ends the list", "MatchingDeviceId0=A\nMatchingDeviceId1=\nMatchingDeviceId2=C\n", {u"A"}},
      {"none from 0", "MatchingDeviceId1=B\n", {}},
      {"at most twenty", twentyOne, twenty},
      {"blanks trimmed", "MatchingDeviceId0 =  PCI\\VEN_F5A1&DEV_7200  \n", {u"PCI\\VEN_F5A1&DEV_7200"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchingIds(Read("[ADAPTER_INFORMATION]\n" + c.section)), c.expected);
  }
}

TEST(ProductConfig, CutsTextsTo255Characters) {
  const std::string exact(255, 'e'), longer(300, 'l');
  const ProductConfig config = Read("[MAIN_INFO]\nCompany_Abbrev=" + exact + "\nBridge_Program=" + longer +
                                    "\n[ADAPTER_INFORMATION]\nReleaseChipMode=" + longer +
                                    "\nMatchingDeviceId0=" + longer + "\n");
  EXPECT_EQ(config.companyAbbrev, std::u16string(255, u'e'));
  EXPECT_EQ(config.bridgeProgram, std::u16string(255, u'l'));
  EXPECT_EQ(config.releaseChipMode, std::u16string(255, u'l'));
  EXPECT_EQ(config.matchingDeviceIds[0], std::u16string(255, u'l'));
}

TEST(ProductConfig, ProductFileSitsBesideTheProgram) {
  struct {
    const char* program;
    const char* product;
  } const cases[] = {
      {"/opt/vuzideza/vuzideza", "/opt/vuzideza/vuzideza.INI"},
      {"/opt/v1.2/vuzideza", "/opt/v1.2/vuzideza.INI"},  // a dot in a folder name is not an extension
      {"/opt/v1.2/Setup.exe", "/opt/v1.2/Setup.INI"},
      {"/opt/app/prog.tar.gz", "/opt/app/prog.tar.INI"},
      {"relative/vuzideza", "relative/vuzideza.INI"},
      {"/opt/app/.hidden", "/opt/app/.hidden.INI"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProductFilePath(c.program).string(), c.product) << c.program;
}

TEST(ProductConfig, ShippedFileDescribesTheSimulatedFamily) {
  const char* dir = std::getenv("VZ_BIN_DIR");
  const ProductConfig c =
      LoadProductConfig(ProductFilePath(std::filesystem::path(dir != nullptr ? dir : "bin") / "vuzideza"));
  EXPECT_EQ(c.enableAccessPoint, 1);
  EXPECT_EQ(c.wpaMode, 1);
  EXPECT_EQ(c.wpa2Mode, 1);
  EXPECT_EQ(c.rc4WepSupport, 1);
  EXPECT_EQ(c.enableWep256, 1);
  EXPECT_EQ(c.releaseChipMode, u"GENERAL");
  EXPECT_EQ(MatchingIds(c), (Ids{u"USB\\VID_F5A1&PID_7100", u"PCI\\VEN_F5A1&DEV_7200", u"PCI\\VEN_F5A1&DEV_7500",
                                 u"USB\\VID_F5A1&PID_7300", u"USB\\VID_F5A1&PID_7400", u"USB\\VID_F5A1&PID_7401"}));
}

}  // namespace
}  // namespace app
