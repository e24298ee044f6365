// The WPA dialog: the read-only view of the stored settings, what editing enables by opener,
// authentication mode and protocol, the pass phrase check before anything is stored, the stored
// credentials, the certificate list, and the supplicant restart when More Settings opened it.
#include "ui/security/dot1x_setting_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/window/dump.h"
#include "ui/security/tests/security_dialog_fixture.h"

namespace ui {
namespace {

using namespace security_dialogs;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace id = dot1x_id;
namespace key = config::key;

constexpr int kEditable[] = {id::Protocol, id::UserName,       id::Password,
                             id::Phase2,   id::ValidateServer, id::Passphrase,
                             id::Ascii,    id::Hexadecimal,    id::Certificate};

// A list as getMyCertList fills it.
std::vector<std::uint8_t> CertificateListBytes(
    const std::vector<std::pair<std::u16string, std::u16string>>& entries) {
  std::vector<std::uint8_t> list(DOT1X_CERT_LIST_SIZE, 0);
  auto put = [&](std::size_t at, const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      list[at + 2 * i] = static_cast<std::uint8_t>(text[i]);
      list[at + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
  };
  for (std::size_t e = 0; e < entries.size(); ++e) {
    put(e * DOT1X_CERT_LIST_ENTRY_SIZE, entries[e].first);
    put(e * DOT1X_CERT_LIST_ENTRY_SIZE + DOT1X_CERT_LIST_ENTRY_SIZE / 2, entries[e].second);
  }
  return list;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

class Dot1xSettingDlgTest : public ::testing::Test, protected testing::SecurityDialogFixture {
 protected:
  void Open(int opener, const std::function<void(CDot1xSettingDlg&)>& body) {
    CDot1xSettingDlg dialog(services, opener);
    RunDialog<CDot1xSettingDlg>(dialog, body);
  }
  void TwoCertificates() {
    certificates.Answer("getMyCertList", 2);
    certificates.AnswerBytes("getMyCertList",
                             CertificateListBytes({{u"alice", u"Root CA"}, {u"bob", u"Lab CA"}}));
  }
  static std::set<int> Enabled(const CDot1xSettingDlg& d) {
    std::set<int> enabled;
    for (int control : kEditable) {
      if (d.IsEnabled(control)) enabled.insert(control);
    }
    return enabled;
  }
};

TEST_F(Dot1xSettingDlgTest, ReadOnlyShowsTheStoredSettingsWithEverythingDisabled) {
  struct Case {
    const char* name;
    std::u16string protocol, subject;
    std::u16string shownProtocol, shownCertificate, shownPhase2;
  };
  const Case cases[] = {
      {"TLS", u"0", u"alice", u"TLS", u"alice -issued by Root CA", u""},
      {"TLS without a certificate", u"0", u"", u"TLS", u" ", u""},
      {"PEAP", u"1", u"alice", u"PEAP", u"", u""},
      {"TTLS", u"2", u"alice", u"TTLS", u"", u"MSCHAPv2"},
      {"nothing stored", u"", u"", u"", u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::Dot1xProtocol, c.protocol);
    StoreSetting(key::Dot1xCertSubject, c.subject);
    StoreSetting(key::Dot1xCertIssuer, u"Root CA");
    StoreSetting(key::Dot1xPhase2Auth, u"MSCHAPv2");
    StoreSetting(key::Dot1xUsername, u"alice@example.org");
    StoreSetting(key::Dot1xPassword, u"wonderland");
    StoreSetting(key::Dot1xPassphrase, u"stored pass phrase");
    StoreSetting(key::Dot1xPassphraseFormat, u"1");
    StoreSetting(key::Dot1xValidateServerCertificate, u"1");
    Open(dialog_number::MoreSettings, [&](CDot1xSettingDlg& d) {
      EXPECT_EQ(d.Caption(), u"WPA Setting...  ");
      EXPECT_EQ(d.GetText(id::ChangeApply), u"Change");
      EXPECT_EQ(d.GetText(id::Protocol), c.shownProtocol);
      EXPECT_EQ(d.GetText(id::Certificate), c.shownCertificate);
      EXPECT_EQ(d.GetText(id::Phase2), c.shownPhase2);
      EXPECT_EQ(d.GetText(id::UserName), u"alice@example.org");
      // Secrets are never filled in.
      EXPECT_EQ(d.GetText(id::Password), u"");
      EXPECT_EQ(d.GetText(id::Passphrase), u"");
      EXPECT_TRUE(d.GetCheck(id::Hexadecimal));
      EXPECT_FALSE(d.GetCheck(id::Ascii));
      EXPECT_TRUE(d.GetCheck(id::ValidateServer));
      EXPECT_THAT(Enabled(d), IsEmpty());
    });
  }
}

TEST_F(Dot1xSettingDlgTest, EditingEnablesWhatTheOpenerAndTheModeAllow) {
  const std::set<int> preShared{id::Passphrase, id::Ascii, id::Hexadecimal};
  const std::set<int> dot1xCommon{id::Protocol, id::UserName, id::ValidateServer};
  auto with = [](std::set<int> set, std::initializer_list<int> more) {
    set.insert(more);
    return set;
  };
  struct Case {
    const char* name;
    int opener;
    std::u16string authentication, protocol;
    std::set<int> enabled;
  };
  const Case cases[] = {
      {"More Settings, TLS", dialog_number::MoreSettings, u"3", u"0",
       with(with(dot1xCommon, {id::Certificate}), {id::Passphrase, id::Ascii, id::Hexadecimal})},
      {"More Settings, PEAP", dialog_number::MoreSettings, u"7", u"1",
       with(with(dot1xCommon, {id::Password}), {id::Passphrase, id::Ascii, id::Hexadecimal})},
      {"More Settings, protocol missing: as TLS", dialog_number::MoreSettings, u"3", u"",
       with(with(dot1xCommon, {id::Certificate}), {id::Passphrase, id::Ascii, id::Hexadecimal})},
      {"WEP key dialog, TTLS", dialog_number::WepKeys, u"2", u"2",
       with(dot1xCommon, {id::Password, id::Phase2})},
      {"joining WPA2 802.1X, PEAP", dialog_number::Main, u"6", u"1",
       with(dot1xCommon, {id::Password})},
      {"joining WPA, TLS", dialog_number::Main, u"3", u"0", with(dot1xCommon, {id::Certificate})},
      {"joining WPA2-PSK", dialog_number::Main, u"7", u"1", preShared},
      {"joining WPA-PSK", dialog_number::Main, u"4", u"0", preShared},
      {"joining WPA-None", dialog_number::Main, u"5", u"2", preShared},
      {"joining an open network", dialog_number::Main, u"2", u"0", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::AuthenticationMode, c.authentication);
    StoreSetting(key::Dot1xProtocol, c.protocol);
    Open(c.opener, [&](CDot1xSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      EXPECT_TRUE(d.Editing());
      EXPECT_EQ(d.GetText(id::ChangeApply), u"Apply");
      EXPECT_EQ(Enabled(d), c.enabled);
      EXPECT_EQ(d.ComboCount(id::Protocol), 3);
      EXPECT_EQ(d.ComboItem(id::Phase2, 3), u"MSCHAPv2");
    });
  }
}

TEST_F(Dot1xSettingDlgTest, ThePassPhraseIsCheckedBeforeAnythingIsStored) {
  struct Case {
    const char* name;
    bool hexadecimal;
    std::u16string typed;
    std::u16string message;  // empty: accepted
  };
  const std::u16string ascii = u"Passphrase length must be 8..63 in ASCII format";
  const std::u16string hex = u"Passphrase length must be 64 in Hexadecimal format";
  const Case cases[] = {
      {"ASCII, empty", false, u"", u""},
      {"ASCII, 8 characters", false, u"12345678", u""},
      {"ASCII, 63 characters", false, std::u16string(63, u'p'), u""},
      {"ASCII, 7 characters", false, u"1234567", ascii},
      {"ASCII, 64 characters", false, std::u16string(64, u'p'), ascii},
      {"hexadecimal, empty", true, u"", u""},
      {"hexadecimal, 64 digits", true, std::u16string(32, u'a') + std::u16string(32, u'F'), u""},
      {"hexadecimal, 63 digits", true, std::u16string(63, u'a'), hex},
      {"hexadecimal, 64 characters not all digits", true, std::u16string(63, u'a') + u"g", hex},
  };
  StoreSetting(key::AuthenticationMode, u"7");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::Dot1xPassphrase, u"before");
    StoreSetting(key::Dot1xPassphraseFormat, u"0");
    StoreSetting(key::Dot1xProtocol, u"1");
    Open(dialog_number::Main, [&](CDot1xSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      d.UserClick(c.hexadecimal ? id::Hexadecimal : id::Ascii);
      d.UserType(id::Passphrase, c.typed);
      EXPECT_EQ(platform::window::DumpControl(*d.Control(id::Passphrase))["text"],
                std::string(c.typed.size(), '*'));
      const std::size_t boxes = session.backend.MessageBoxes().size();
      d.UserClick(id::ChangeApply);
      if (c.message.empty()) {
        EXPECT_FALSE(d.Editing());
        EXPECT_EQ(session.backend.MessageBoxes().size(), boxes);
      } else {
        EXPECT_TRUE(d.Editing());
        ASSERT_EQ(session.backend.MessageBoxes().size(), boxes + 1);
        EXPECT_EQ(session.backend.MessageBoxes().back().text, c.message);
      }
    });
    EXPECT_EQ(Stored(key::Dot1xPassphrase), c.message.empty() ? c.typed : u"before");
    EXPECT_EQ(Stored(key::Dot1xPassphraseFormat), c.message.empty() && c.hexadecimal ? u"1" : u"0");
  }
}

TEST_F(Dot1xSettingDlgTest, ApplyStoresTheCredentialsOfTheChosenProtocol) {
  struct Case {
    const char* name;
    int protocol;
    std::u16string userName, password;
    std::vector<std::pair<std::u16string_view, std::u16string>> stored;
  };
  const Case cases[] = {
      {"PEAP with empty boxes",
       CDot1xSettingDlg::kPeap,
       u"",
       u"",
       {{key::Dot1xProtocol, u"1"}, {key::Dot1xUsername, u" "}, {key::Dot1xPassword, u"Orvex"}}},
      {"TTLS",
       CDot1xSettingDlg::kTtls,
       u"alice",
       u"wonderland",
       {{key::Dot1xProtocol, u"2"},
        {key::Dot1xUsername, u"alice"},
        {key::Dot1xPassword, u"wonderland"},
        {key::Dot1xPhase2Auth, u"CHAP"}}},
      {"TLS without certificates",
       CDot1xSettingDlg::kTls,
       u"alice",
       u"",
       {{key::Dot1xProtocol, u"0"},
        {key::Dot1xUsername, u"alice"},
        {key::Dot1xCertSubject, u"Not Found"},
        {key::Dot1xCertIssuer, u"Not Found"},
        {key::Dot1xPassword, u"untouched"}}},
  };
  StoreSetting(key::AuthenticationMode, u"6");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::Dot1xProtocol, u"2");
    StoreSetting(key::Dot1xPhase2Auth, u"chap");
    StoreSetting(key::Dot1xPassword, u"untouched");
    StoreSetting(key::Dot1xValidateServerCertificate, u"0");
    Open(dialog_number::MoreSettings, [&](CDot1xSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      EXPECT_EQ(d.ComboSelection(id::Phase2), 1);  // found without letter case
      d.UserSelect(id::Protocol, c.protocol);
      d.UserType(id::UserName, c.userName);
      if (d.IsEnabled(id::Password)) d.UserType(id::Password, c.password);
      d.UserClick(id::ValidateServer);
      d.UserClick(id::ChangeApply);
    });
    for (const auto& [name, text] : c.stored)
      EXPECT_EQ(Stored(name), text) << platform::ToUtf8(name);
    EXPECT_EQ(Stored(key::Dot1xValidateServerCertificate), u"1");
  }
}

TEST_F(Dot1xSettingDlgTest, CertificatesAreListedAndGiveTheUserName) {
  TwoCertificates();
  StoreSetting(key::Dot1xProtocol, u"0");
  StoreSetting(key::Dot1xCertSubject, u"bob");
  StoreSetting(key::Dot1xCertIssuer, u"Lab CA");
  certificates.AnswerNext("getMyCertSubjectAltName", 0, Utf16Bytes(u"alice@example.org"));
  certificates.AnswerNext("getMyCertSubjectAltName", 0, Utf16Bytes(u"bob@example.org"));
  Open(dialog_number::MoreSettings, [&](CDot1xSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    EXPECT_EQ(d.ComboItem(id::Certificate, 0), u"alice -issued by Root CA");
    EXPECT_EQ(d.ComboSelection(id::Certificate), 1);  // the stored one
    // Without a stored user name: the first certificate's, whichever is selected.
    EXPECT_EQ(d.GetText(id::UserName), u"alice@example.org");
    d.UserSelect(id::Certificate, 1);
    EXPECT_EQ(d.GetText(id::UserName), u"bob@example.org");

    // A tunnelled method takes the bare name; the certificate is no longer asked for.
    d.UserSelect(id::Protocol, CDot1xSettingDlg::kPeap);
    EXPECT_EQ(d.GetText(id::UserName), u"bob");
    EXPECT_TRUE(d.IsEnabled(id::Password));
    EXPECT_FALSE(d.IsEnabled(id::Certificate));
    EXPECT_EQ(d.GetText(id::Certificate), u"");
    EXPECT_FALSE(d.IsEnabled(id::Phase2));

    d.UserSelect(id::Protocol, CDot1xSettingDlg::kTls);
    EXPECT_TRUE(d.IsEnabled(id::Certificate));
    EXPECT_FALSE(d.IsEnabled(id::Password));
    EXPECT_EQ(d.ComboSelection(id::Certificate), 1);
    d.UserClick(id::ChangeApply);
  });
  EXPECT_EQ(Stored(key::Dot1xCertSubject), u"bob");
  EXPECT_EQ(Stored(key::Dot1xCertIssuer), u"Lab CA");
  EXPECT_THAT(certificates.Calls(),
              ElementsAre("getMyCertList()", "getMyCertSubjectAltName(alice, Root CA)",
                          "getMyCertSubjectAltName(bob, Lab CA)", "getMyCertList()"));
}

TEST_F(Dot1xSettingDlgTest, ListedCountsBeyondTheListAreCut) {
  const std::vector<std::uint8_t> bytes = CertificateListBytes({{u"alice", u"Root CA"}});
  const auto list = std::span<const std::uint8_t, DOT1X_CERT_LIST_SIZE>(bytes.data(), bytes.size());
  EXPECT_EQ(ReadCertificateList(list, -3).size(), 0u);
  EXPECT_EQ(ReadCertificateList(list, 100000).size(), std::size_t{DOT1X_CERT_LIST_MAX_ENTRIES});
  // A text without its terminator ends with its field.
  std::vector<std::uint8_t> unterminated(DOT1X_CERT_LIST_SIZE, 'A');
  const std::vector<Certificate> read = ReadCertificateList(
      std::span<const std::uint8_t, DOT1X_CERT_LIST_SIZE>(unterminated.data(), unterminated.size()),
      1);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].subject.size(), 256u);
  EXPECT_EQ(read[0].issuer.size(), 256u);
}

TEST_F(Dot1xSettingDlgTest, FromMoreSettingsEveryPressRestartsTheSupplicantForWpaModes) {
  struct Case {
    std::u16string authentication;
    int starts, reassociations;
  };
  for (const Case& c : {Case{u"3", 2, 2}, Case{u"4", 2, 2}, Case{u"6", 2, 2}, Case{u"7", 2, 2},
                        Case{u"2", 0, 0}, Case{u"5", 0, 0}}) {
    SCOPED_TRACE(platform::ToUtf8(c.authentication));
    StoreSetting(key::AuthenticationMode, c.authentication);
    supplicant = {};
    reassociations = 0;
    Open(dialog_number::MoreSettings, [&](CDot1xSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      EXPECT_EQ(supplicant.StopRequests(), 1);
      d.UserClick(id::ChangeApply);
    });
    EXPECT_EQ(supplicant.StopRequests(), 2);
    EXPECT_EQ(supplicant.StartRequests(), c.starts);
    EXPECT_EQ(reassociations, c.reassociations);
  }
  // Other openers leave the supplicant to them.
  supplicant = {};
  Open(dialog_number::Main, [&](CDot1xSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    d.UserClick(id::ChangeApply);
  });
  EXPECT_EQ(supplicant.StopRequests(), 0);
  EXPECT_EQ(supplicant.StartRequests(), 0);
}

TEST_F(Dot1xSettingDlgTest, StaysOutOfTheDialogChain) {
  chain.SetActiveDialogNumber(dialog_number::MoreSettings);
  Open(dialog_number::MoreSettings, [&](CDot1xSettingDlg&) {
    EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::MoreSettings);
  });
  EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::MoreSettings);
}

}  // namespace
}  // namespace ui
