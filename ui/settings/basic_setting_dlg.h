#pragma once
// The "More Settings..." dialog: the station configuration (network type, SSID, band, channel,
// transmit rate, authentication, encryption) shown read-only from the station tree; "Change"
// makes it editable and "Apply" pushes it through the appliers in a fixed order and restarts the
// supplicant when the security needs one. It also loads, saves and deletes profiles and opens
// the WEP key, WPA, advanced and information dialogs.
//
// States: read-only (the editing flag 0) and editing (1); closing ends it without applying.

#include <optional>
#include <string>

#include "config/appliers.h"
#include "config/profile_store.h"
#include "platform/window/dialog.h"
#include "ui/settings/channel_list.h"
#include "ui/settings/rate_list.h"
#include "ui/settings/settings_services.h"

namespace ui::settings {

class CBasicSettingDlg : public platform::window::Dialog {
 public:
  // `opener`: the dialog number of the dialog that opens this one (the main window: 0).
  CBasicSettingDlg(const StationSettingsServices& services, int opener);

  bool OnInitDialog() override;
  void OnCommand(int id, platform::window::CommandCode code) override;
  void OnDestroy() override;

  bool Editing() const { return editing_ != 0; }
  const ChannelList& Channels() const { return channels_; }
  const SupportedRates& Rates() const { return rates_; }

 private:
  // ---- opening and showing (basic_setting_dlg.cpp)
  void SetTextsAndLists();
  void FillEncryptionBox(int networkTypeEntry);
  void FillAuthenticationBox(int networkTypeEntry);
  ListBand Band() const;
  void BuildChannelList();
  void BuildRateList();
  void LoadStoredValues();
  void SelectStoredBand();
  void SelectEncryption(int networkTypeEntry, bool basicFallsBackToDisabled);
  void ReloadAfterProfileAction();
  void ApplyEnableRules(bool editing);
  void FollowNetworkTypeEntry();  // enabling of band and channel, and `CurrentNetworkType`
  void OnNetworkTypeChanged();
  void OnWirelessModeChanged();
  void OpenAdvanced();
  void OpenInformation();
  void OpenSecurityDialog(const std::function<void(int)>& open);

  // ---- Change and Apply (basic_setting_apply.cpp)
  void OnChangeApply();
  void ApplySettings();
  void ApplyAuthentication(int networkType);
  void ApplyEncryption(int networkType);
  void ApplySsid();
  void ApplyRates();
  void RestartSupplicant();

  // ---- profiles (basic_setting_profiles.cpp)
  void FillProfileBox();
  std::u16string ProfileName() const;
  void ShowProfileMessage(std::u16string_view text);
  void ShowProfileNotFound(std::u16string_view name);
  void OnLoadProfile();
  void OnSaveProfile();
  void OnDeleteProfile();

  bool WpaMode() const { return services_.product.wpaMode != 0; }
  bool Wpa2Mode() const { return services_.product.wpa2Mode != 0; }
  int Capability() const { return services_.radio.bandCapability.load(); }
  std::u16string Text(const lang::TextKey& key) const;

  StationSettingsServices services_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
  config::ProfileStore profiles_;
  ChannelList channels_;
  SupportedRates rates_{};
  int editing_ = 0;
};

}  // namespace ui::settings
