#include "security/loaded_supplicant_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace security {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// An empty folder of its own per test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("vz_dot1x_loader_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(path_);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(LoadSupplicantLibraryTest, FailuresNameTheLibraryAndTheMissingFunction) {
  ScratchFolder brokenCopy;
  std::ofstream(brokenCopy.path() / "libdot1x_dll.so") << "not a library";
  ScratchFolder empty;
  struct Case {
    fs::path folder;
    std::string expected;
  };
  const Case cases[] = {
      {DOT1X_STUB_PARTIAL_DIR, "libdot1x_dll.so: function Shutdown_Dot1x_Module not found"},
      {brokenCopy.path(), (brokenCopy.path() / "libdot1x_dll.so").string() + ": cannot be loaded: "},
      {empty.path(), "libdot1x_dll.so: library not found in " + empty.path().string()},
  };
  for (const Case& c : cases) {
    const SupplicantLibraryLoad load = LoadSupplicantLibrary(c.folder);
    EXPECT_EQ(load.library, nullptr) << c.folder;
    EXPECT_THAT(load.error, HasSubstr(c.expected));
  }
}

TEST(LoadSupplicantLibraryTest, EveryCallReachesTheLibraryBesideTheProgram) {
  const SupplicantLibraryLoad load = LoadSupplicantLibrary(DOT1X_STUB_COMPLETE_DIR);
  ASSERT_NE(load.library, nullptr) << load.error;
  SupplicantLibrary& l = *load.library;
  // An empty certificate store of its own.
  const auto store = std::filesystem::temp_directory_path() / ("loaded-supplicant-" + std::to_string(::getpid()));
  ::setenv("VUZIDEZA_CERT_DIR", store.c_str(), 1);
  std::vector<std::uint8_t> certs(DOT1X_CERT_LIST_SIZE);
  std::array<char16_t, DOT1X_SUBJECT_ALT_NAME_UNITS> altName{};
  std::array<std::uint8_t, DOT1X_EAP_BLOCK_SIZE> block{};
  std::array<std::uint8_t, 128> eapKey{};
  std::array<std::uint8_t, 32> pmk{};
  std::array<std::uint8_t, 16> pmkid{};
  std::array<std::uint8_t, 6> mac{};
  AdapterHandle adapter{};
  KeyContext context{};
  const std::int32_t results[] = {
      l.getMyCertList(std::span<std::uint8_t, DOT1X_CERT_LIST_SIZE>(certs.data(), certs.size())),
      l.getMyCertSubjectAltName(u"s", u"i", altName),
      l.genMyCertFile(u"s", u"i"),
      l.genMySSLFile(),
      l.genROOTCertFile(u"s", u"i"),
      l.genROOTSSLFile(),
      l.do_eapol_init(adapter, 0, mac, mac, block),
      l.do_eapol_run(),
      l.do_eapol_halt(),
      l.Get_EAP_Derived_Key(eapKey),
      l.Get_PSK_Key_32byte("pass phrase", std::span<const std::uint8_t>(), 4096, pmk),
      l.Get_PMKID(pmk, mac, mac, pmkid),
      l.do_eapol_start(mac, mac),
      l.do_key_negotiation_init(adapter, context),
      l.do_key_negotiation_run(context),
      l.Shutdown_Dot1x_Module(),
  };
  for (std::int32_t r : results) EXPECT_EQ(r, 7);
}

// The built library: the key derivations work, and what this build does not offer fails cleanly.
TEST(LoadSupplicantLibraryTest, BuiltLibraryDerivesKeysAndRefusesWhatItDoesNotOffer) {
  const SupplicantLibraryLoad load = LoadSupplicantLibrary(DOT1X_BIN_DIR);
  ASSERT_NE(load.library, nullptr) << load.error;
  SupplicantLibrary& l = *load.library;

  // The 802.11i pass-phrase mapping's published example.
  const std::string ssid = "IEEE";
  const std::span<const std::uint8_t> ssidBytes(reinterpret_cast<const std::uint8_t*>(ssid.data()), ssid.size());
  std::array<std::uint8_t, 32> pmk{};
  ASSERT_EQ(l.Get_PSK_Key_32byte("password", ssidBytes, 4096, pmk), 0);
  const std::array<std::uint8_t, 32> expected{0xf4, 0x2c, 0x6f, 0xc5, 0x2d, 0xf0, 0xeb, 0xef, 0x9e, 0xbb, 0x4b,
                                              0x90, 0xb3, 0x8a, 0x5f, 0x90, 0x2e, 0x83, 0xfe, 0x1b, 0x13, 0x5a,
                                              0x70, 0xe2, 0x3a, 0xed, 0x76, 0x2e, 0x97, 0x10, 0xa1, 0x2e};
  EXPECT_EQ(pmk, expected);

  struct BadPsk {
    const char* name;
    const char* passphrase;
    std::size_t ssidLength;
    std::int32_t iterations;
  };
  const std::uint8_t longSsid[33] = {};
  for (const BadPsk& c : {BadPsk{"7 characters", "1234567", 4, 4096},
                          BadPsk{"64 characters", "1234567890123456789012345678901234567890123456789012345678901234", 4, 4096},
                          BadPsk{"no pass phrase", nullptr, 4, 4096}, BadPsk{"33-byte SSID", "password", 33, 4096},
                          BadPsk{"no iterations", "password", 4, 0}}) {
    std::array<std::uint8_t, 32> out{};
    const std::span<const std::uint8_t> s = c.ssidLength == 33 ? std::span<const std::uint8_t>(longSsid) : ssidBytes;
    EXPECT_EQ(l.Get_PSK_Key_32byte(c.passphrase, s, c.iterations, out), -1) << c.name;
    EXPECT_EQ(out, (std::array<std::uint8_t, 32>{})) << c.name << ": output untouched";
  }

  // PMKIDs bind both addresses: swapping them gives another one.
  const std::array<std::uint8_t, 6> ap{0x02, 0x5A, 0xA0, 0, 0, 5};
  const std::array<std::uint8_t, 6> station{0x02, 0x5A, 0x71, 0, 0, 1};
  std::array<std::uint8_t, 16> a{}, b{};
  ASSERT_EQ(l.Get_PMKID(pmk, ap, station, a), 0);
  ASSERT_EQ(l.Get_PMKID(pmk, station, ap, b), 0);
  EXPECT_NE(a, b);
  EXPECT_NE(a, (std::array<std::uint8_t, 16>{}));

  // An empty certificate store of its own.
  const auto store = std::filesystem::temp_directory_path() / ("loaded-supplicant-" + std::to_string(::getpid()));
  ::setenv("VUZIDEZA_CERT_DIR", store.c_str(), 1);
  std::vector<std::uint8_t> certs(DOT1X_CERT_LIST_SIZE);
  EXPECT_EQ(l.getMyCertList(std::span<std::uint8_t, DOT1X_CERT_LIST_SIZE>(certs.data(), certs.size())), 0);
  std::array<char16_t, DOT1X_SUBJECT_ALT_NAME_UNITS> altName;
  altName.fill(u'x');
  EXPECT_EQ(l.getMyCertSubjectAltName(u"s", u"i", altName), -1);
  EXPECT_EQ(altName[0], u'\0');
  EXPECT_NE(l.genMyCertFile(u"s", u"i"), 0);
  EXPECT_NE(l.genMySSLFile(), 0);
  // No authority is trusted: the authority file is written empty, so validation refuses every server.
  EXPECT_EQ(l.genROOTCertFile(u"s", u"i"), 0);
  EXPECT_EQ(l.genROOTSSLFile(), 0);
  AdapterHandle adapter{};
  std::array<std::uint8_t, DOT1X_EAP_BLOCK_SIZE> block{};
  EXPECT_EQ(l.do_eapol_init(adapter, 0, station, ap, block), -1);
  EXPECT_EQ(l.do_eapol_run(), 0) << "never authenticated";
  EXPECT_EQ(l.do_eapol_halt(), 0);
  std::array<std::uint8_t, 128> eapKey;
  eapKey.fill(0xAA);
  EXPECT_EQ(l.Get_EAP_Derived_Key(eapKey), -1);
  EXPECT_EQ(eapKey, (std::array<std::uint8_t, 128>{})) << "no stale keying material";
  EXPECT_EQ(l.Shutdown_Dot1x_Module(), 0);
  std::filesystem::remove_all(store);
}

}  // namespace
}  // namespace security
