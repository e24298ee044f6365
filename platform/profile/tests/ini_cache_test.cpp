#include "platform/profile/ini_cache.h"

#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

namespace platform {
namespace {

class IniFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("ini_test_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::filesystem::path dir_;
};

TEST_F(IniFileOnDisk, LoadsAFileAndGivesDefaultsWhenThereIsNone) {
  const auto path = Write("Setup.INI", "[MAIN_INFO]\r\nCompany_Abbrev=Acme\r\nMain_Page_Update_Time_ms=500\r\n");
  const auto ini = IniFile::Load(path);
  EXPECT_EQ(ini->GetString(u"MAIN_INFO", u"Company_Abbrev", u"Orvex", 256), u"Acme");
  EXPECT_EQ(ini->GetInt(u"MAIN_INFO", u"Main_Page_Update_Time_ms", 1000), 500);

  for (const auto& unreadable : {dir_ / "absent.INI", dir_, std::filesystem::path("/dev/zero")}) {
    const auto empty = IniFile::Load(unreadable);
    EXPECT_EQ(empty->GetString(u"MAIN_INFO", u"Company_Abbrev", u"Orvex", 256), u"Orvex") << unreadable;
    EXPECT_EQ(empty->GetInt(u"MAIN_INFO", u"Main_Page_Update_Time_ms", 1000), 1000) << unreadable;
  }
}

TEST_F(IniFileOnDisk, CacheReadsEachFileOnce) {
  const auto product = Write("Setup.INI", "[S]\nK=first\n");
  const auto language = Write("QVMLa.INI", "[S]\nK=language\n");
  IniCache cache;
  const auto first = cache.Get(product);
  Write("Setup.INI", "[S]\nK=changed\n");
  EXPECT_EQ(cache.Get(product), first);
  EXPECT_EQ(cache.Get(dir_ / "." / "Setup.INI"), first);
  EXPECT_EQ(first->GetString(u"S", u"K", u"", 256), u"first");
  EXPECT_EQ(cache.Get(language)->GetString(u"S", u"K", u"", 256), u"language");
  EXPECT_EQ(cache.Get(dir_ / "absent.INI")->GetString(u"S", u"K", u"none", 256), u"none");
}

}  // namespace
}  // namespace platform
