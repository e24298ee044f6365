#pragma once
// The WEP key dialog (template 157): key length, key format, transmit key and the four keys, and
// for 802.1X networks with dynamic WEP keys the choice that the keys come from authentication.
// Stored keys are never shown: each box holds as many "*" as a key needs, and applying keeps the
// stored key of every box the user did not type into. Read-only until "Change"; "Apply" checks
// every typed key before any is pushed, and shows the key information dialog when one is wrong.
//
// Opened from the main window (opener 0, when joining a WEP network), More Settings (1) and the
// access point dialog (5); it works on the current mode's setting tree.

#include <array>
#include <optional>
#include <string>

#include "platform/window/dialog.h"
#include "ui/security/security_dialog_services.h"

namespace ui {

class CWepSettingDlg : public platform::window::Dialog {
 public:
  CWepSettingDlg(const SecurityDialogServices& services, int opener);

  bool OnInitDialog() override;
  void OnCommand(int id, platform::window::CommandCode code) override;
  void OnDestroy() override;

  // ---- state, for tests
  bool Editing() const { return editing_; }
  int LengthIndex() const { return lengthIndex_; }
  int KeyFormat() const { return keyFormat_; }

 private:
  void SetTexts();
  void Load();
  void Mask();
  // The members into the controls, and back (radio groups, key boxes).
  void ShowMembers();
  void TakeControls();
  void EnableKeyControls(bool enabled);

  void OnLengthClicked(int lengthIndex);
  void OnFormatClicked(int format);
  void OnKeyEdited(int key);
  void OnChangeApply();
  // The keys come from 802.1X authentication.
  void ApplyDot1xKeys(const std::optional<std::array<std::uint8_t, 6>>& bssid);
  // False when a typed key is wrong; nothing is applied then.
  bool ApplyStaticKeys(const std::optional<std::array<std::uint8_t, 6>>& bssid);
  // Makes the adapter associate again with the stored SSID (and the BSSID it had).
  void Reassociate(const std::optional<std::array<std::uint8_t, 6>>& bssid);
  bool Dot1xKeysOffered() const;
  std::u16string Text(const lang::TextKey& key) const;

  const SecurityDialogServices& services_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
  bool editing_ = false;
  int lengthIndex_ = 0;
  int keyFormat_ = 0;
  std::array<std::u16string, 4> keyTexts_;
  std::array<bool, 4> edited_{};
};

}  // namespace ui
