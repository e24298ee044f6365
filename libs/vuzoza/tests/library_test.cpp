// The built libVUZOZA.so loaded the way the program loads it, through dlopen and the C names.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "libs/vuzoza/include/vuzoza.h"
#include "platform/registry/registry.h"

namespace {

static_assert(sizeof(VzAdapterRecord) == 525);
static_assert(offsetof(VzAdapterHandle, name) == 4);
static_assert(offsetof(VzDriverInfo, chip_code) == 12);

const char* const kContract[] = {
    "QvOpenAdapter", "QvCloseAdapter", "CreateAllNICAdapterList", "CreateNICAdapterList", "QueryWL_DriverVersion",
    "Query_QVDriverInfo", "QueryWL_ConnectState", "QueryWL_SSID", "QueryWL_BSSID", "GetNICAdapterMAC",
    "QueryWL_Channel", "QueryWL_NetworkType", "QueryWL_WEPStatus", "QueryWL_AuthenticationMode", "QueryWL_RSSI",
    "QueryWL_CommQuality", "QueryWL_CurrentLinkSpeed", "GetTxRxFrameCount", "QueryWL_802_11_NetworkTypeInUse",
    "QueryWL_QVWirelessMode", "QueryWL_QVAdhocMode", "QueryWL_OperationMode_STA_AP", "QueryWL_OperationRegionCode",
    "QueryWL_MultiDomainCapability", "QueryWL_PSMode", "QueryWL_FragmentationThreshold", "QueryWL_RTS_CTS_Threshold",
    "QueryWL_QVUseQVXOidState", "QueryWL_SupportChannel", "QueryWL_UISupportTxRate", "QueryWL_SupportedRate",
    "SetWL_SSID", "SetWL_Channel", "SetWL_NetworkType", "SetWL_802_11_NetworkTypeInUse", "SetWL_AuthenticationMode",
    "SetWL_WEPStatus", "SetWL_DesiredRate", "SetWL_PSMode", "SetWL_FragmentationThreshold", "SetWL_RTS_CTS_Threshold",
    "SetWL_PreambleMode", "SetWL_MultiDomainCapability", "SetWL_OperationRegionCode", "SetWL_QVPSPXLinkMode",
    "SetWL_QVWMMQosMode", "SetWL_QVWirelessMode", "SetWL_QVUseQVXOidState", "SetWL_SupportChannel",
    "SetWL_RegionAndSupportChannel", "SetWL_BSSID", "SetWL_WriteKey", "SetWL_OperationMode_STA_AP",
    "SetWL_ApWirelessMode", "SetWL_ApProtectionMode", "SetWLAP_HideSSIDState", "SetWLAP_TxPowerLevel",
    "SetWLAP_FilterMode", "SetWLAP_FilterList", "WL_SiteSurveyStart", "WL_RetrieveSiteSurveyData",
    "WL_RetrieveStationList", "QVStartWZCService", "QVStopWZCService", "QueryWL_CheckWZCStatus", "CheckOSWinNT",
    "QueryWL_IsWindows2000", "QueryWL_IsWindows95", "IsAdmin", "NonAdminUserEnabler", "QV_GetOSVersion",
    "Query_FixWindisPnPBug", "ReadOid", "WriteOid", "VzSim_SetClock",
};

std::int64_t g_now = 0;
std::int64_t VZ_CALL Now(void*) { return g_now; }
std::int64_t VZ_CALL Unix(void*) { return 1'700'000'000 + g_now / 1000; }
void VZ_CALL Sleep(void*, std::uint32_t ms) { g_now += ms; }

class LibraryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() / ("vuzoza-library-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    setenv("VUZIDEZA_REGISTRY_DIR", dir_.c_str(), 1);
    unsetenv("VUZOZA_SCENARIO");
    library_ = dlopen(VUZOZA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  }
  static void TearDownTestSuite() {
    if (library_ != nullptr) dlclose(library_);
    std::filesystem::remove_all(dir_);
  }
  void SetUp() override {
    ASSERT_NE(library_, nullptr) << dlerror();
    g_now = 0;
    const VzSimClock clock{nullptr, &Now, &Unix, &Sleep};
    Fn<decltype(VzSim_SetClock)>("VzSim_SetClock")(&clock);
  }
  template <typename F>
  F* Fn(const char* name) {
    return reinterpret_cast<F*>(dlsym(library_, name));
  }
  VzAdapterHandle OpenFirst() {
    VzAdapterRecord list[100];
    EXPECT_EQ(Fn<decltype(CreateAllNICAdapterList)>("CreateAllNICAdapterList")(list, 100), 2);
    VzAdapterHandle h{};
    h.handle = -1;
    std::memcpy(h.name, list[0].name, sizeof h.name);
    EXPECT_EQ(Fn<decltype(QueryWL_DriverVersion)>("QueryWL_DriverVersion")(&h), -1) << "not open yet";
    EXPECT_NE(Fn<decltype(QvOpenAdapter)>("QvOpenAdapter")(&h), 0);
    return h;
  }

  static inline void* library_ = nullptr;
  static inline std::filesystem::path dir_;
};

TEST_F(LibraryTest, ExportsEveryFunctionOfTheContract) {
  for (const char* name : kContract) EXPECT_NE(dlsym(library_, name), nullptr) << name;
  EXPECT_EQ(dlsym(library_, "_ZN6vuzoza12CurrentWorldEv"), nullptr) << "internals stay hidden";
}

TEST_F(LibraryTest, AnswersThroughTheCInterface) {
  VzAdapterRecord list[100];
  ASSERT_EQ(Fn<decltype(CreateAllNICAdapterList)>("CreateAllNICAdapterList")(list, 100), 2);
  EXPECT_STREQ(list[0].description, "VZ 7100 USB Wireless LAN Adapter");
  EXPECT_STREQ(list[0].instance, "0007");
  VzAdapterRecord bridge[30];
  ASSERT_EQ(Fn<decltype(CreateNICAdapterList)>("CreateNICAdapterList")(bridge, 30), 1);
  EXPECT_STREQ(bridge[0].description, "Simulated Fast Ethernet Adapter");

  VzAdapterHandle h = OpenFirst();
  EXPECT_GT(h.handle, 0);
  EXPECT_EQ(Fn<decltype(QueryWL_DriverVersion)>("QueryWL_DriverVersion")(&h), 0x0203A51B);
  VzDriverInfo info{};
  ASSERT_EQ(Fn<decltype(Query_QVDriverInfo)>("Query_QVDriverInfo")(&h, &info), 0);
  std::uint32_t fourth = 0;
  std::memcpy(&fourth, reinterpret_cast<const char*>(&info) + 12, 4);
  EXPECT_EQ(fourth, 4u);  // the default adapter's chip code: one that does WMM

  auto connectState = Fn<decltype(QueryWL_ConnectState)>("QueryWL_ConnectState");
  EXPECT_EQ(connectState(&h), 1);
  g_now += 1500;
  EXPECT_EQ(connectState(&h), 0);
  std::uint8_t ssid[32];
  ASSERT_EQ(Fn<decltype(QueryWL_SSID)>("QueryWL_SSID")(&h, ssid), 11);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(ssid), 11), "Harbor-Open");

  ASSERT_EQ(Fn<decltype(WL_SiteSurveyStart)>("WL_SiteSurveyStart")(&h), 0);
  g_now += 2500;
  std::uint8_t survey[VZ_SURVEY_BUFFER_SIZE];
  ASSERT_EQ(Fn<decltype(WL_RetrieveSiteSurveyData)>("WL_RetrieveSiteSurveyData")(&h, survey, sizeof survey), 0);
  EXPECT_EQ(survey[0], 13);

  std::uint8_t channels[100];
  std::int32_t count = 100;
  ASSERT_EQ(Fn<decltype(QueryWL_SupportChannel)>("QueryWL_SupportChannel")(&h, channels, &count), 0);
  EXPECT_EQ(count, 13);
  count = 5;
  EXPECT_EQ(Fn<decltype(QueryWL_SupportChannel)>("QueryWL_SupportChannel")(&h, channels, &count), -1);

  EXPECT_NE(Fn<decltype(CheckOSWinNT)>("CheckOSWinNT")(), 0);
  EXPECT_EQ(Fn<decltype(QueryWL_IsWindows95)>("QueryWL_IsWindows95")(), 0);
  EXPECT_NE(Fn<decltype(IsAdmin)>("IsAdmin")(), 0);

  Fn<decltype(QvCloseAdapter)>("QvCloseAdapter")(&h);
  EXPECT_EQ(h.handle, -1);
  EXPECT_EQ(connectState(&h), -1);
}

TEST_F(LibraryTest, WritesTheAdaptersClassKeysIntoTheMachineRegistry) {
  OpenFirst();  // the first call of the process has seeded the store
  auto opened = platform::OpenSqliteRegistry(dir_);
  ASSERT_NE(opened.registry, nullptr) << opened.error;
  platform::RegValue v;
  ASSERT_EQ(opened.registry->GetValue(platform::RegRoot::LocalMachine,
                                      u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007",
                                      u"MatchingDeviceId", v),
            platform::RegStatus::Ok);
  EXPECT_EQ(v, platform::RegValue::Text(u"USB\\VID_F5A1&PID_7100"));
}

TEST_F(LibraryTest, BrokenScenarioFileIsReportedAndLeavesNoAdapters) {
  const auto path = dir_ / "broken.json";
  std::ofstream(path) << "{\"adapters\": [ {\"name\": \"x\", ";
  setenv("VUZOZA_SCENARIO", path.c_str(), 1);
  const VzSimClock clock{nullptr, &Now, &Unix, &Sleep};
  Fn<decltype(VzSim_SetClock)>("VzSim_SetClock")(&clock);  // a new clock starts a new world
  ::testing::internal::CaptureStderr();
  VzAdapterRecord list[100];
  EXPECT_EQ(Fn<decltype(CreateAllNICAdapterList)>("CreateAllNICAdapterList")(list, 100), 0);
  const std::string err = ::testing::internal::GetCapturedStderr();
  unsetenv("VUZOZA_SCENARIO");
  EXPECT_NE(err.find(path.string()), std::string::npos) << err;
  EXPECT_NE(err.find("not valid JSON"), std::string::npos) << err;
}

}  // namespace
