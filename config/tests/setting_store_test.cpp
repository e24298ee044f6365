#include "config/setting_store.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "config/setting_keys.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace config {
namespace {

class SettingStoreTest : public ::testing::Test {
 protected:
  SettingStoreTest() : registry_(platform::CreateMemoryRegistry()), store_(*registry_) {
    store_.SetApplicationKey(u"Orvex", u"vuzideza");
    store_.SetAdapterInstance("0007");
  }
  std::unique_ptr<platform::MemoryRegistry> registry_;
  SettingStore store_;
};

TEST_F(SettingStoreTest, TreePathFollowsChipInstanceAndMode) {
  EXPECT_EQ(store_.TreePath(kStationMode),
            u"software\\Orvex\\vuzideza\\LastSetting\\GENERAL\\0007\\Station");
  store_.SetChipMode(u"QV7200");
  store_.SetAdapterInstance("0012");
  EXPECT_EQ(store_.TreePath(kAccessPointMode),
            u"software\\Orvex\\vuzideza\\LastSetting\\QV7200\\0012\\AccessPoint");
}

TEST_F(SettingStoreTest, AbsentReadsAsEmptyAndMinusOne) {
  EXPECT_EQ(store_.ReadSettingString(key::SSID), u"");
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), -1);
}

TEST_F(SettingStoreTest, EmptyResultsAreReadAgain) {
  const std::size_t before = registry_->reads();
  EXPECT_EQ(store_.ReadSettingString(key::SSID), u"");
  EXPECT_EQ(registry_->reads() - before, 2u);
  EXPECT_EQ(store_.ReadSettingInt(key::SSID), -1);
  EXPECT_EQ(registry_->reads() - before, 6u);

  // A read that fails once is answered by the second read.
  ASSERT_EQ(store_.WriteSetting(key::Channel, u"11"), 0);
  registry_->FailNextReads(1);
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), 11);
}

TEST_F(SettingStoreTest, TwoThreadsUseTheStoreAtOnce) {
  // The supplicant thread re-applies settings while the user-interface thread reads them.
  auto writer = [this](std::u16string_view key, int rounds) {
    for (int i = 0; i < rounds; ++i) {
      EXPECT_EQ(store_.WriteSetting(key, platform::Format(u"%d", i)), 0);
      EXPECT_GE(store_.ReadSettingInt(key), 0);
    }
  };
  std::thread supplicant(writer, key::AuthenticationMode, 500);
  writer(key::Channel, 500);
  supplicant.join();
  EXPECT_EQ(store_.ReadSettingInt(key::AuthenticationMode), 499);
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), 499);
}

TEST_F(SettingStoreTest, NumbersConvertLikeAtoi) {
  const struct {
    const char16_t* text;
    int value;
  } cases[] = {
      {u"abc", 0},       {u"12abc", 12},   {u"  -7", -7},     {u"+3", 3},
      {u"\t42", 42},     {u"2346", 2346},  {u"99999999999", 2147483647},
      {u"-99999999999", -2147483647 - 1},
      {u"0000000000000000000012", 0},  // only the first 19 characters count
  };
  for (const auto& c : cases) {
    ASSERT_EQ(store_.WriteSetting(key::Channel, c.text), 0);
    EXPECT_EQ(store_.ReadSettingInt(key::Channel), c.value) << std::string(c.text, c.text + 2);
  }
}

TEST_F(SettingStoreTest, OperationModeSelectsTheTreeAndLeavesTheOtherAlone) {
  ASSERT_EQ(store_.WriteSetting(key::SSID, u"home"), 0);
  store_.SetOperationMode(kAccessPointMode);
  EXPECT_EQ(store_.ReadSettingString(key::SSID), u"");
  ASSERT_EQ(store_.WriteSetting(key::SSID, u"soft-ap"), 0);
  store_.SetOperationMode(kStationMode);
  EXPECT_EQ(store_.ReadSettingString(key::SSID), u"home");
  EXPECT_EQ(store_.WriteSetting(kAccessPointMode, key::Channel, u"11"), 0);
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), -1);
}

TEST_F(SettingStoreTest, AdaptersAndChipModesKeepSeparateTrees) {
  ASSERT_EQ(store_.WriteSetting(key::Channel, u"3"), 0);
  store_.SetAdapterInstance("0008");
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), -1);
  store_.SetAdapterInstance("0007");
  store_.SetChipMode(u"QV7100DualBand");
  EXPECT_EQ(store_.ReadSettingInt(key::Channel), -1);
}

TEST_F(SettingStoreTest, StoredWepKeyOrCountingDefault) {
  std::uint8_t key[29];
  ASSERT_EQ(store_.ReadStoredWepKey(128, 2, key, sizeof key), 0);
  for (int i = 0; i < 29; ++i) EXPECT_EQ(key[i], i < 13 ? i + 1 : 0) << i;

  ASSERT_EQ(store_.WriteSetting(u"WEPKey64_3", u"AA BB CC DD EE FF 11"), 0);
  ASSERT_EQ(store_.ReadStoredWepKey(64, 3, key, sizeof key), 0);
  const std::uint8_t expected[] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(key, key + 7),
            std::vector<std::uint8_t>(expected, expected + 7));

  EXPECT_EQ(store_.ReadStoredWepKey(40, 0, key, sizeof key), -1);
  EXPECT_EQ(store_.ReadStoredWepKey(64, 4, key, sizeof key), -1);
  EXPECT_EQ(store_.ReadStoredWepKey(256, 0, key, 13), -1);
}

TEST_F(SettingStoreTest, RefusedWriteReportsMinusOne) {
  registry_->DenyWrites(platform::RegRoot::CurrentUser, store_.TreePath(kStationMode));
  EXPECT_EQ(store_.WriteSetting(key::SSID, u"x"), -1);
  EXPECT_EQ(store_.ReadSettingString(key::SSID), u"");
}

TEST_F(SettingStoreTest, ApplicationValuesCarryTheChipModePrefix) {
  store_.SetChipMode(u"QV7200");
  EXPECT_EQ(store_.ChipValue(u"VUZOzaExit"), u"QV7200\\VUZOzaExit");
  EXPECT_EQ(store_.ReadAppNumber(store_.ChipValue(u"LanguageId"), 1), 1);
  ASSERT_EQ(store_.WriteAppNumber(store_.ChipValue(u"VUZOzaExit"), 1), 0);
  platform::RegValue raw;
  ASSERT_EQ(registry_->GetValue(platform::RegRoot::CurrentUser, u"software\\Orvex\\vuzideza",
                                u"QV7200\\VUZOzaExit", raw),
            platform::RegStatus::Ok);
  EXPECT_EQ(raw, platform::RegValue::Dword(1));
  ASSERT_EQ(store_.WriteAppText(u"QV7200\\VUZidezaOperationMode", u"1"), 0);
  EXPECT_EQ(store_.ReadAppNumber(u"QV7200\\VUZidezaOperationMode", 0), 1);
}

}  // namespace
}  // namespace config
