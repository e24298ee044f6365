#include "ui/security/dot1x_setting_dlg.h"

#include <initializer_list>

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/security/hex_digits.h"
#include "ui/security/security_dialog_ids.h"
#include "ui/security/security_templates.h"

namespace ui {

using namespace security_dialogs;
using platform::window::CommandCode;
namespace id = dot1x_id;
namespace texts = lang::texts;
namespace key = config::key;
namespace auth_mode = config::auth_mode;

namespace {

// Characters the dialog takes from a text box.
constexpr std::size_t kMaxBoxText = 99;
constexpr int kMaxPassphrase = 64;
constexpr int kMinAsciiPassphrase = 8, kMaxAsciiPassphrase = 63;
constexpr int kHexPassphrase = 64;
// "Dot1xPassphraseFormat"
constexpr int kAsciiFormat = 0, kHexFormat = 1;

constexpr std::u16string_view kProtocols[] = {u"TLS", u"PEAP", u"TTLS"};
constexpr std::u16string_view kInnerMethods[] = {u"PAP", u"CHAP", u"MSCHAP", u"MSCHAPv2"};
// Stored in place of an empty user name, an empty password and a missing certificate.
constexpr std::u16string_view kNoUserName = u" ";
constexpr std::u16string_view kNoPassword = u"Orvex";
constexpr std::u16string_view kNoCertificate = u"Not Found";

constexpr int kAllControls[] = {id::Protocol, id::UserName,       id::Password,
                                id::Phase2,   id::ValidateServer, id::Passphrase,
                                id::Ascii,    id::Hexadecimal,    id::Certificate};

// An empty pass phrase is taken as it is; otherwise 8 to 63 characters, or 64 hexadecimal
// digits.
bool PassphraseAccepted(std::u16string_view passphrase, bool hexadecimal) {
  const int length = static_cast<int>(passphrase.size());
  if (length == 0) return true;
  if (hexadecimal) {
    return length == kHexPassphrase && AllHexDigits(passphrase);
  }
  return length >= kMinAsciiPassphrase && length <= kMaxAsciiPassphrase;
}

// What the opener lets the user edit.
enum class Editable { All, Dot1x, PreSharedKey, Nothing };

}  // namespace

CDot1xSettingDlg::CDot1xSettingDlg(const SecurityDialogServices& services, int opener)
    : Dialog(RegisteredTemplate(dot1x_template::Id)), services_(services), opener_(opener) {}

void CDot1xSettingDlg::StartSupplicant() { services_.supplicant.StartSupplicant(); }

void CDot1xSettingDlg::StopSupplicant() { services_.supplicant.StopSupplicant(); }

std::u16string CDot1xSettingDlg::Text(const lang::TextKey& text) const {
  return services_.language.LoadLangString(text);
}

std::u16string CDot1xSettingDlg::Stored(std::u16string_view name) const {
  return services_.appliers.store.ReadSettingString(name);
}

void CDot1xSettingDlg::Store(std::u16string_view name, std::u16string_view text) {
  (void)services_.appliers.store.WriteSetting(config::kStationMode, name, text);
}

std::u16string CDot1xSettingDlg::BoxText(int controlId) const {
  return std::u16string(platform::CutUtf16(GetText(controlId), kMaxBoxText));
}

bool CDot1xSettingDlg::OnInitDialog() {
  editing_ = false;
  Refresh();
  return true;
}

void CDot1xSettingDlg::Refresh() {
  SetCaption(Text(texts::DOT1X_Dialog_Title) + u"  ");
  SetText(id::ChangeApply, Text(editing_ ? texts::DOT1X_Button_Apply : texts::DOT1X_Button_Change));
  SetText(id::ConnectGroup, Text(texts::DOT1X_CONNETCINFO));
  SetText(id::ProtocolLabel, Text(texts::DOT1X_PROTOCOL));
  SetText(id::Phase2Label, Text(texts::DOT1X_PHASE2AUTH));
  SetText(id::UserNameLabel, Text(texts::DOT1X_USERNAME));
  SetText(id::PasswordLabel, Text(texts::DOT1X_PASSWORD));
  SetText(id::ValidateServer, Text(texts::DOT1X_VALIDATE_SERVER_CERTIFICATE));
  SetText(id::PreSharedGroup, Text(texts::DOT1X_PRESHAREDKEY));
  SetText(id::PassphraseLabel, Text(texts::DOT1X_PASSPHRASE));
  SetText(id::FormatLabel, Text(texts::DOT1X_PASSPHRASE_FORMAT));
  SetText(id::Ascii, Text(texts::DOT1X_PASSPHRASE_ASCII));
  SetText(id::Hexadecimal, Text(texts::DOT1X_PASSPHRASE_HEX));
  SetText(id::CertificateGroup, Text(texts::DOT1X_CERT));
  LimitText(id::Passphrase, kMaxPassphrase);

  const bool hexadecimal =
      services_.appliers.store.ReadSettingInt(key::Dot1xPassphraseFormat) == kHexFormat;
  SetCheck(id::Ascii, !hexadecimal);
  SetCheck(id::Hexadecimal, hexadecimal);
  if (editing_) {
    RefreshEditing();
  } else {
    RefreshReadOnly();
  }
}

void CDot1xSettingDlg::RefreshEditing() {
  ComboReset(id::Phase2);
  for (std::u16string_view method : kInnerMethods) ComboAdd(id::Phase2, method);
  ComboReset(id::Protocol);
  for (std::u16string_view protocol : kProtocols) ComboAdd(id::Protocol, protocol);

  const int stored = services_.appliers.store.ReadSettingInt(key::Dot1xProtocol);
  // A missing or unknown protocol is shown, and treated, as TLS.
  const int protocol = stored == kPeap || stored == kTtls ? stored : kTls;
  ComboSelect(id::Protocol, protocol);
  if (protocol == kTtls) {
    ComboSelect(id::Phase2, ComboFindPrefix(id::Phase2, Stored(key::Dot1xPhase2Auth)));
  } else if (protocol == kTls) {
    ListCertificates();
    // A first user name: the one the first certificate was issued for.
    if (!certificates_.empty() && platform::Trim(Stored(key::Dot1xUsername)).empty()) {
      SetText(id::UserName, SubjectAltName(services_.certificates, certificates_.front()));
    }
    SelectStoredCertificate();
  }
  SetCheck(id::ValidateServer,
           services_.appliers.store.ReadSettingInt(key::Dot1xValidateServerCertificate) == 1);
  EnableForEditing(protocol);
}

void CDot1xSettingDlg::EnableForEditing(int protocol) {
  Editable editable = Editable::All;
  if (opener_ == dialog_number::WepKeys) editable = Editable::Dot1x;
  if (opener_ == dialog_number::Main) {
    switch (services_.appliers.store.ReadSettingInt(key::AuthenticationMode)) {
      case auth_mode::Wpa:
      case auth_mode::Wpa2:
        editable = Editable::Dot1x;
        break;
      case auth_mode::WpaPsk:
      case auth_mode::WpaNone:
      case auth_mode::Wpa2Psk:
        editable = Editable::PreSharedKey;
        break;
      default:
        editable = Editable::Nothing;
        break;
    }
  }
  const auto enable = [this](std::initializer_list<int> controls, bool enabled) {
    for (int control : controls) Enable(control, enabled);
  };
  const auto byProtocol = [&] {
    Enable(id::Password, protocol != kTls);
    Enable(id::Phase2, protocol == kTtls);
    Enable(id::Certificate, protocol == kTls);
  };
  switch (editable) {
    case Editable::All:
      enable({id::Protocol, id::UserName, id::ValidateServer, id::Passphrase, id::Ascii,
              id::Hexadecimal},
             true);
      byProtocol();
      break;
    case Editable::Dot1x:
      enable({id::Protocol, id::UserName, id::ValidateServer}, true);
      enable({id::Passphrase, id::Ascii, id::Hexadecimal}, false);
      byProtocol();
      break;
    case Editable::PreSharedKey:
      enable({id::Passphrase, id::Ascii, id::Hexadecimal}, true);
      enable({id::Protocol, id::UserName, id::Password, id::Phase2, id::ValidateServer,
              id::Certificate},
             false);
      break;
    case Editable::Nothing:
      break;
  }
}

void CDot1xSettingDlg::RefreshReadOnly() {
  const int protocol = services_.appliers.store.ReadSettingInt(key::Dot1xProtocol);
  switch (protocol) {
    case kTls: {
      SetText(id::Protocol, kProtocols[kTls]);
      const std::u16string subject = Stored(key::Dot1xCertSubject);
      SetText(id::Certificate, subject.empty()
                                   ? std::u16string(u" ")
                                   : CertificateEntry(subject, Stored(key::Dot1xCertIssuer)));
      break;
    }
    case kPeap:
      SetText(id::Protocol, kProtocols[kPeap]);
      SetText(id::Certificate, u"");
      break;
    case kTtls:
      SetText(id::Protocol, kProtocols[kTtls]);
      SetText(id::Phase2, Stored(key::Dot1xPhase2Auth));
      SetText(id::Certificate, u"");
      break;
    default:
      break;
  }
  SetText(id::UserName, Stored(key::Dot1xUsername));
  SetCheck(id::ValidateServer,
           services_.appliers.store.ReadSettingInt(key::Dot1xValidateServerCertificate) == 1);
  for (int control : kAllControls) Enable(control, false);
}

void CDot1xSettingDlg::ListCertificates() {
  certificates_ = ui::ListCertificates(services_.certificates);
  ComboReset(id::Certificate);
  for (const Certificate& certificate : certificates_) {
    ComboAdd(id::Certificate, CertificateEntry(certificate.subject, certificate.issuer));
  }
}

void CDot1xSettingDlg::SelectStoredCertificate() {
  const std::u16string stored =
      CertificateEntry(Stored(key::Dot1xCertSubject), Stored(key::Dot1xCertIssuer));
  ComboSelect(id::Certificate, ComboFindPrefix(id::Certificate, stored));
}

void CDot1xSettingDlg::OnCommand(int controlId, CommandCode code) {
  if (code == CommandCode::Clicked && controlId == id::ChangeApply) {
    OnChangeApply();
    return;
  }
  if (code == CommandCode::SelChange && controlId == id::Protocol) {
    OnProtocolChanged();
    return;
  }
  if (code == CommandCode::SelChange && controlId == id::Certificate) {
    OnCertificateChanged();
    return;
  }
  Dialog::OnCommand(controlId, code);
}

void CDot1xSettingDlg::OnChangeApply() {
  if (editing_ && !Apply()) return;
  if (opener_ == dialog_number::MoreSettings) {
    StopSupplicant();
    switch (services_.appliers.store.ReadSettingInt(key::AuthenticationMode)) {
      case auth_mode::Wpa:
      case auth_mode::WpaPsk:
      case auth_mode::Wpa2:
      case auth_mode::Wpa2Psk:
        if (services_.forceReassociation) services_.forceReassociation();
        StartSupplicant();
        break;
      default:
        break;
    }
  }
  editing_ = !editing_;
  Refresh();
}

bool CDot1xSettingDlg::Apply() {
  const std::u16string passphrase = BoxText(id::Passphrase);
  const bool hexadecimal = GetCheck(id::Hexadecimal);
  // Checked before anything is stored: a refused pass phrase never reaches the settings.
  if (!PassphraseAccepted(passphrase, hexadecimal)) {
    const platform::window::Dialog* main = services_.dialogs.Registered(dialog_number::Main);
    (void)MessageBox(
        Text(hexadecimal ? texts::DOT1X_Passphrase_HEX_Error : texts::DOT1X_Passphrase_ASCII_Error),
        main != nullptr ? main->Caption() : std::u16string(), platform::window::MessageButtons::Ok,
        platform::window::MessageIcon::Exclamation);
    return false;
  }
  const int protocol = ComboSelection(id::Protocol);
  Store(key::Dot1xProtocol, platform::Format(u"%d", protocol));
  Store(key::Dot1xPassphrase, passphrase);
  Store(key::Dot1xPassphraseFormat,
        platform::Format(u"%d", hexadecimal ? kHexFormat : kAsciiFormat));
  StoreCredentials(protocol);
  Store(key::Dot1xValidateServerCertificate, GetCheck(id::ValidateServer) ? u"1" : u"0");
  return true;
}

void CDot1xSettingDlg::StoreCredentials(int protocol) {
  if (protocol < kTls || protocol > kTtls) return;
  if (protocol == kTls) {
    if (certificates_.empty()) {
      Store(key::Dot1xCertSubject, kNoCertificate);
      Store(key::Dot1xCertIssuer, kNoCertificate);
    } else {
      // With none chosen, the first one: the one a first user name is taken from.
      const int selected = ComboSelection(id::Certificate);
      const Certificate& certificate =
          certificates_[selected >= 0 && selected < static_cast<int>(certificates_.size())
                            ? static_cast<std::size_t>(selected)
                            : 0];
      Store(key::Dot1xCertSubject, certificate.subject);
      Store(key::Dot1xCertIssuer, certificate.issuer);
    }
  }
  const std::u16string userName = BoxText(id::UserName);
  Store(key::Dot1xUsername, userName.empty() ? kNoUserName : std::u16string_view(userName));
  if (protocol == kTls) return;
  const std::u16string password = BoxText(id::Password);
  Store(key::Dot1xPassword, password.empty() ? kNoPassword : std::u16string_view(password));
  if (protocol == kTtls) {
    // The chosen entry; a typed method when none is chosen.
    const int method = ComboSelection(id::Phase2);
    Store(key::Dot1xPhase2Auth, method >= 0 ? ComboItem(id::Phase2, method) : BoxText(id::Phase2));
  }
}

void CDot1xSettingDlg::OnProtocolChanged() {
  const int protocol = ComboSelection(id::Protocol);
  Enable(id::UserName, true);
  if (protocol == kTls) {
    Enable(id::Password, false);
    Enable(id::Phase2, false);
    SetText(id::Phase2, u"");
    Enable(id::Certificate, true);
    ListCertificates();
    SelectStoredCertificate();
    return;
  }
  // The inner identity of a tunnelled method is the bare name, without the realm.
  const std::u16string userName = GetText(id::UserName);
  if (const std::size_t at = userName.find(u'@'); at != std::u16string::npos) {
    SetText(id::UserName, userName.substr(0, at));
  }
  Enable(id::Password, true);
  Enable(id::Certificate, false);
  SetText(id::Certificate, u"");
  Enable(id::Phase2, protocol == kTtls);
  SetText(id::Phase2, protocol == kTtls ? Stored(key::Dot1xPhase2Auth) : std::u16string());
}

void CDot1xSettingDlg::OnCertificateChanged() {
  if (ComboSelection(id::Protocol) != kTls) return;
  const int selected = ComboSelection(id::Certificate);
  if (selected < 0 || selected >= static_cast<int>(certificates_.size())) return;
  SetText(id::UserName, SubjectAltName(services_.certificates,
                                       certificates_[static_cast<std::size_t>(selected)]));
}

}  // namespace ui
