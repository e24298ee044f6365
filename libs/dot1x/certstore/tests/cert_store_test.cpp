// The certificate store through its tool's commands and through the supplicant library's
// certificate functions, on certificates made on the spot.

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <openssl/pem.h>

#include <fstream>
#include <sstream>

#include "libs/dot1x/certstore/cert_store.h"
#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/certstore/vzcert_commands.h"
#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/testing/test_pki.h"

namespace certstore {
namespace {

namespace fs = std::filesystem;

int ModeOf(const fs::path& p) {
  struct stat st {};
  return stat(p.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string Ascii(const std::uint8_t* utf16) {
  std::string out;
  for (const std::uint8_t* p = utf16; p[0] != 0 || p[1] != 0; p += 2) out.push_back(static_cast<char>(p[0]));
  return out;
}

// The supplicant library as the program loads it.
struct Library {
  Library() {
    adapter = dlopen((fs::path(DOT1X_BIN_DIR) / "libVUZOZA.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    handle = dlopen((fs::path(DOT1X_BIN_DIR) / "libdot1x_dll.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  template <typename F>
  F* Fn(const char* name) const { return reinterpret_cast<F*>(dlsym(handle, name)); }
  void* adapter = nullptr;
  void* handle = nullptr;
};
#define LIB_FN(name) library_.Fn<decltype(::name)>(#name)

class CertStoreTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("certstore-" + std::to_string(::getpid()));
    pki_ = dot1x::testing::MakeTestPki(root_ / "pki");
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

  void SetUp() override {
    folder_ = root_ / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    setenv("VUZIDEZA_CERT_DIR", folder_.c_str(), 1);
    ASSERT_NE(library_.handle, nullptr) << dlerror();
  }

  int Run(const std::vector<std::string>& args, std::string answer = "") {
    out_.str("");
    err_.str("");
    asked_ = 0;
    Console console{out_, err_, [this, answer] {
                      ++asked_;
                      return answer;
                    }};
    return RunVzcert(store_, args, console);
  }

  static inline fs::path root_;
  static inline dot1x::testing::TestPki pki_;
  fs::path folder_;
  CertStore store_{StoreFolder()};
  Library library_;
  std::ostringstream out_;
  std::ostringstream err_;
  int asked_ = 0;
};

TEST_F(CertStoreTest, Pkcs12ImportListsWithAltNameAndExportsPrivately) {
  store_ = CertStore(StoreFolder());
  EXPECT_EQ(Run({"import", pki_.clientPkcs12.string()}, "wrong"), 1);
  EXPECT_EQ(asked_, 1);
  EXPECT_NE(err_.str().find("password"), std::string::npos);
  EXPECT_EQ(Run({"import", pki_.clientPkcs12.string()}, dot1x::testing::kPkcs12Password), 0) << err_.str();
  EXPECT_EQ(out_.str(), "imported alice -issued by Vuzideza Test Authority with its private key\n");
  EXPECT_EQ(ModeOf(folder_), 0700);
  EXPECT_EQ(ModeOf(folder_ / "personal"), 0700);

  std::vector<std::uint8_t> list(DOT1X_CERT_LIST_SIZE, 0);
  ASSERT_EQ(LIB_FN(getMyCertList)(list.data()), 1);
  EXPECT_EQ(Ascii(list.data()), "alice");
  EXPECT_EQ(Ascii(list.data() + 512), "Vuzideza Test Authority");

  const std::u16string subject = Utf16("alice");
  const std::u16string issuer = Utf16("Vuzideza Test Authority");
  auto s = reinterpret_cast<const std::uint16_t*>(subject.c_str());
  auto i = reinterpret_cast<const std::uint16_t*>(issuer.c_str());
  std::uint16_t alt[DOT1X_SUBJECT_ALT_NAME_UNITS];
  ASSERT_EQ(LIB_FN(getMyCertSubjectAltName)(s, i, alt), 0);
  EXPECT_EQ(Ascii(reinterpret_cast<const std::uint8_t*>(alt)), "alice@corp.test") << "the principal name first";

  ASSERT_EQ(LIB_FN(genMyCertFile)(s, i), 0);
  ASSERT_EQ(LIB_FN(genMySSLFile)(), 0);
  const fs::path exported = ExportFolder();
  EXPECT_EQ(ModeOf(exported), 0700);
  for (const char* name : {CertStore::kPersonalExport, CertStore::kCertificateFile, CertStore::kKeyFile}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ModeOf(exported / name), 0600);
    EXPECT_FALSE(fs::exists(fs::path(DOT1X_BIN_DIR) / name)) << "never in the program folder";
  }
  // The key file is encrypted with the password the supplicant hands to TLS.
  const std::string keyText = Slurp(exported / CertStore::kKeyFile);
  EXPECT_NE(keyText.find("ENCRYPTED PRIVATE KEY"), std::string::npos);
  FILE* f = std::fopen((exported / CertStore::kKeyFile).c_str(), "r");
  ASSERT_NE(f, nullptr);
  EVP_PKEY* key = PEM_read_PrivateKey(f, nullptr, nullptr, const_cast<char*>(CertStore::kExportPassword));
  std::fclose(f);
  EXPECT_NE(key, nullptr);
  EVP_PKEY_free(key);
  EXPECT_EQ(Slurp(exported / CertStore::kCertificateFile), Slurp(pki_.client.certificate));
}

TEST_F(CertStoreTest, CertificateWithoutItsKeyCannotBeExported) {
  store_ = CertStore(StoreFolder());
  ASSERT_EQ(Run({"import", pki_.client.certificate.string()}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "imported alice -issued by Vuzideza Test Authority without a private key\n");
  ASSERT_EQ(Run({"list"}), 0);
  EXPECT_NE(out_.str().find("no private key"), std::string::npos);
  const std::u16string subject = Utf16("alice");
  const std::u16string issuer = Utf16("Vuzideza Test Authority");
  EXPECT_EQ(LIB_FN(genMyCertFile)(reinterpret_cast<const std::uint16_t*>(subject.c_str()),
                                  reinterpret_cast<const std::uint16_t*>(issuer.c_str())),
            -1);
  // Its key given afterwards, in a file of its own, makes it exportable.
  ASSERT_EQ(Run({"import", pki_.client.certificate.string(), pki_.client.key.string()}), 0) << err_.str();
  EXPECT_EQ(LIB_FN(genMyCertFile)(reinterpret_cast<const std::uint16_t*>(subject.c_str()),
                                  reinterpret_cast<const std::uint16_t*>(issuer.c_str())),
            0);
}

TEST_F(CertStoreTest, AuthoritiesExportTheIssuerFirstAndEmptyTrustsNobody) {
  store_ = CertStore(StoreFolder());
  const std::u16string none = Utf16("Not Found");
  auto n = reinterpret_cast<const std::uint16_t*>(none.c_str());
  ASSERT_EQ(LIB_FN(genROOTCertFile)(n, n), 0);
  ASSERT_EQ(LIB_FN(genROOTSSLFile)(), 0);
  EXPECT_EQ(Slurp(ExportFolder() / CertStore::kAuthorityFile), "") << "nothing trusted";

  EXPECT_EQ(Run({"import-ca", pki_.client.certificate.string()}), 1) << "not an authority";
  ASSERT_EQ(Run({"import-ca", pki_.rogueAuthority.string()}), 0) << err_.str();
  ASSERT_EQ(Run({"import-ca", pki_.authority.string()}), 0) << err_.str();
  ASSERT_EQ(Run({"import", pki_.client.certificate.string(), pki_.client.key.string()}), 0);
  const std::u16string subject = Utf16("alice");
  const std::u16string issuer = Utf16("Vuzideza Test Authority");
  ASSERT_EQ(LIB_FN(genROOTCertFile)(reinterpret_cast<const std::uint16_t*>(subject.c_str()),
                                    reinterpret_cast<const std::uint16_t*>(issuer.c_str())),
            0);
  ASSERT_EQ(LIB_FN(genROOTSSLFile)(), 0);
  const std::string bundle = Slurp(ExportFolder() / CertStore::kAuthorityFile);
  const std::string issuerPem = Slurp(pki_.authority);
  EXPECT_EQ(bundle.find(issuerPem), 0u) << "the authority that issued the user's certificate first";
  EXPECT_NE(bundle.find(Slurp(pki_.rogueAuthority)), std::string::npos);
  EXPECT_EQ(ModeOf(ExportFolder() / CertStore::kAuthorityFile), 0600);

  ASSERT_EQ(Run({"remove-ca", "1"}), 0);
  ASSERT_EQ(Run({"remove-ca", "1"}), 0);
  EXPECT_EQ(Run({"remove-ca", "1"}), 1);
  EXPECT_TRUE(store_.List(Kind::Authority).empty());
}

TEST_F(CertStoreTest, BadInputIsRefusedWithoutTouchingTheStore) {
  store_ = CertStore(StoreFolder());
  const fs::path junk = folder_.parent_path() / "junk.bin";
  std::ofstream(junk) << "not a certificate at all";
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int result;
  };
  const Case cases[] = {
      {"garbage", {"import", junk.string()}, 1},
      {"missing file", {"import", (folder_ / "missing.p12").string()}, 1},
      {"key of another certificate", {"import", pki_.client.certificate.string(), pki_.server.key.string()}, 1},
      {"remove out of range", {"remove", "3"}, 1},
      {"remove by name", {"remove", "alice"}, 1},
      {"unknown command", {"export"}, 2},
      {"no command", {}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.args), c.result);
    EXPECT_FALSE(err_.str().empty());
  }
  EXPECT_TRUE(store_.List(Kind::Personal).empty());
  std::vector<std::uint8_t> list(DOT1X_CERT_LIST_SIZE, 0);
  EXPECT_EQ(LIB_FN(getMyCertList)(list.data()), 0);
}

TEST_F(CertStoreTest, StoreFolderBecomesPrivateAndRemoveTakesTheKeyAlong) {
  fs::create_directories(folder_);
  fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  store_ = CertStore(StoreFolder());
  ASSERT_EQ(Run({"import", pki_.clientPkcs12.string()}, dot1x::testing::kPkcs12Password), 0);
  EXPECT_EQ(ModeOf(folder_), 0700);
  const auto entries = store_.List(Kind::Personal);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(ModeOf(folder_ / "personal" / (entries[0].id + ".key")), 0600);
  ASSERT_EQ(Run({"remove", "1"}), 0);
  EXPECT_FALSE(fs::exists(folder_ / "personal" / (entries[0].id + ".key")));
}

}  // namespace
}  // namespace certstore
