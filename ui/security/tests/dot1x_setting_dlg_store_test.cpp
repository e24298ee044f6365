// The WPA dialog on the built supplicant library and a certificate store filled as vzcert fills
// it: the user's certificates are listed as people read them and give the user name.

#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "libs/dot1x/certstore/cert_store.h"
#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/testing/test_pki.h"
#include "security/loaded_supplicant_library.h"
#include "ui/security/dot1x_setting_dlg.h"
#include "ui/security/tests/security_dialog_fixture.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
namespace id = security_dialogs::dot1x_id;
namespace key = config::key;

wpa::Bytes FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return wpa::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Dot1xSettingDlgStoreTest : public ::testing::Test, protected testing::SecurityDialogFixture {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("dot1x-dialog-store-" + std::to_string(::getpid()));
    ::setenv("VUZIDEZA_CERT_DIR", (folder_ / "store").c_str(), 1);
    const auto pki = dot1x::testing::MakeTestPki(folder_ / "pki");
    certstore::CertStore store(certstore::StoreFolder());
    ASSERT_TRUE(store.ImportPersonal(FileBytes(pki.clientPkcs12), dot1x::testing::kPkcs12Password).ok);
    ASSERT_TRUE(store.ImportPersonal(FileBytes(pki.expiredClient.certificate), "").ok) << "bob, without his key";
    loaded_ = security::LoadSupplicantLibrary(DOT1X_BIN_DIR);
    ASSERT_NE(loaded_.library, nullptr) << loaded_.error;
    services.certificates = loaded_.library.get();
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
  security::SupplicantLibraryLoad loaded_;
};

TEST_F(Dot1xSettingDlgStoreTest, ImportedCertificatesAreListedAndGiveTheUserName) {
  StoreSetting(key::Dot1xProtocol, u"0");
  CDot1xSettingDlg dialog(services, dialog_number::MoreSettings);
  RunDialog<CDot1xSettingDlg>(dialog, [&](CDot1xSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    EXPECT_EQ(d.ComboItem(id::Certificate, 0), u"alice -issued by Vuzideza Test Authority");
    EXPECT_EQ(d.ComboItem(id::Certificate, 1), u"bob -issued by Vuzideza Test Authority");
    EXPECT_EQ(d.GetText(id::UserName), u"alice@corp.test") << "the principal name of the first";
    d.UserSelect(id::Certificate, 1);
    EXPECT_EQ(d.GetText(id::UserName), u"bob@example.test") << "bob has only an e-mail address";
    d.UserClick(id::ChangeApply);
  });
  EXPECT_EQ(Stored(key::Dot1xCertSubject), u"bob");
  EXPECT_EQ(Stored(key::Dot1xCertIssuer), u"Vuzideza Test Authority");
  EXPECT_EQ(Stored(key::Dot1xUsername), u"bob@example.test");
}

}  // namespace
}  // namespace ui
