#pragma once
// The WPA dialog (template 195): the 802.1X protocol (TLS, PEAP, TTLS) with user name,
// password, inner method, client certificate and server validation, and the pre-shared pass
// phrase with its format. Read-only until "Change"; "Apply" checks the pass phrase, stores the
// values in the station tree and returns to read-only. Password and pass phrase are never shown:
// their boxes start empty every time.
//
// Opened from the main window when joining (opener 0), More Settings (1) and the WEP key dialog
// (3); what can be edited follows the opener and the stored authentication mode. It is not part
// of the open-dialog chain.
//
// The class also starts and stops the supplicant for every caller, through the program's
// supplicant control; for that, callers make an instance they never show.

#include <string>
#include <vector>

#include "platform/window/dialog.h"
#include "ui/security/certificate_list.h"
#include "ui/security/security_dialog_services.h"

namespace ui {

class CDot1xSettingDlg : public platform::window::Dialog {
 public:
  // 802.1X protocols: index in the protocol box and "Dot1xProtocol".
  static constexpr int kTls = 0, kPeap = 1, kTtls = 2;

  CDot1xSettingDlg(const SecurityDialogServices& services, int opener);

  void StartSupplicant();
  void StopSupplicant();

  bool OnInitDialog() override;
  void OnCommand(int id, platform::window::CommandCode code) override;

  bool Editing() const { return editing_; }

 private:
  void Refresh();
  void RefreshEditing();
  void RefreshReadOnly();
  void EnableForEditing(int protocol);
  void ListCertificates();
  void SelectStoredCertificate();
  // False when the pass phrase was refused: nothing is stored then.
  bool Apply();
  void StoreCredentials(int protocol);
  void OnChangeApply();
  void OnProtocolChanged();
  void OnCertificateChanged();

  std::u16string Stored(std::u16string_view key) const;
  void Store(std::u16string_view key, std::u16string_view text);
  // The text of a box, as much of it as the dialog takes.
  std::u16string BoxText(int id) const;
  std::u16string Text(const lang::TextKey& key) const;

  const SecurityDialogServices& services_;
  int opener_;
  bool editing_ = false;
  // The certificates the certificate box lists, in its order.
  std::vector<Certificate> certificates_;
};

}  // namespace ui
