#include "ui/settings/basic_setting_dlg.h"

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "ui/settings/advance_setting_dlg.h"
#include "ui/settings/info_dlg.h"
#include "ui/settings/more_settings_ids.h"
#include "ui/settings/more_settings_mapping.h"

namespace ui::settings {

using namespace more_settings;
using platform::window::CommandCode;
namespace texts = lang::texts;
namespace key = config::key;
namespace band_capability = config::band_capability;

CBasicSettingDlg::CBasicSettingDlg(const StationSettingsServices& services, int opener)
    : Dialog(kTemplateId), services_(services), opener_(opener), profiles_(services.store) {}

std::u16string CBasicSettingDlg::Text(const lang::TextKey& key) const {
  return services_.language.LoadLangString(key);
}

// ---------------------------------------------------------------- opening

bool CBasicSettingDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  services_.radio.currentNetworkType.store(services_.store.ReadSettingInt(key::NetworkType));
  registration_.emplace(services_.dialogs, dialog_number::MoreSettings, *this, opener_);
  SetTextsAndLists();
  BuildChannelList();
  BuildRateList();
  editing_ = 0;
  LoadStoredValues();
  ApplyEnableRules(false);
  FillProfileBox();
  if (services_.driver.QvOpenAdapter(services_.adapter.handle) != 0) {
    LimitText(id::SsidEdit, static_cast<int>(config::kMaxSsidBytes));
  }
  return true;
}

void CBasicSettingDlg::OnDestroy() { registration_.reset(); }

void CBasicSettingDlg::SetTextsAndLists() {
  SetCaption(Text(texts::BS_Dialog_Title) + u"  ");
  SetText(id::GeneralGroup, Text(texts::BS_G_Sub_Title));
  SetText(id::WirelessModeLabel, Text(texts::BS_G_WirelessMode));
  SetText(id::ChannelLabel, Text(texts::BS_G_Channel));
  SetText(id::TxRateLabel, Text(texts::BS_G_TxRate));
  SetText(id::SsidLabel, Text(texts::BS_G_SSID));
  SetText(id::AnyCheck, Text(texts::BS_G_SSID_any));
  SetText(id::NetworkTypeLabel, Text(texts::BS_G_Network_Type));
  SetText(id::AuthenticationLabel, Text(texts::BS_G_Authentication));
  SetText(id::EncryptionLabel, Text(texts::BS_G_Encrypt));
  SetText(id::KeysGroup, Text(texts::BS_E_Sub_Title));
  SetText(id::WepButton, Text(texts::BS_E_WEP_More));
  SetText(id::ProfileGroup, Text(texts::BS_P_Sub_Title));
  SetText(id::ProfileNameLabel, Text(texts::BS_P_Profile_Name));
  SetText(id::LoadButton, Text(texts::BS_P_Load_Profile_Button));
  SetText(id::SaveButton, Text(texts::BS_P_Write_Profile_Button));
  SetText(id::DeleteButton, Text(texts::BS_P_Delete_Profile_Button));
  SetText(id::OtherGroup, Text(texts::BS_O_Sub_Title));
  SetText(id::OtherHint, Text(texts::BS_O_Description));
  SetText(id::AdvancedButton, Text(texts::BS_O_Advance_Set_Button));
  SetText(id::InformationButton, Text(texts::BS_O_Information_Button));

  // Box entries come from the language file; a single-band adapter shows only its own band.
  const lang::CMultiLanguage& language = services_.language;
  ComboReset(id::WirelessModeBox);
  const std::vector<std::u16string> bands = language.LoadLangList(texts::BS_G_WirelessMode_Value);
  const auto own = static_cast<std::size_t>(Capability());
  for (std::size_t entry = 0; entry < bands.size(); ++entry) {
    if (Capability() == band_capability::Both || entry == own) {
      ComboAdd(id::WirelessModeBox, bands[entry]);
    }
  }
  SelectStoredBand();

  ComboReset(id::NetworkTypeBox);
  const std::size_t types = services_.product.pseudoIbssSupport != 0 ? SIZE_MAX : 2;
  for (const std::u16string& text : language.LoadLangList(texts::BS_G_Network_Type_Value, types)) {
    ComboAdd(id::NetworkTypeBox, text);
  }
  // The encryption and authentication lists depend on the network type: loading the stored
  // values fills them.

  SetText(id::ChangeApplyButton,
          Text(editing_ ? texts::BS_G_Button_Apply : texts::BS_G_Button_Change));
  if (WpaMode()) SetText(id::WpaButton, Text(texts::BS_E_DOT1X_More));
  Show(id::WpaButton, WpaMode());
}

// The extended list (with TKIP and AES) needs WPA and a network that is not ad hoc.
void CBasicSettingDlg::FillEncryptionBox(int networkTypeEntry) {
  ComboReset(id::EncryptionBox);
  const bool extended = WpaMode() && networkTypeEntry != kAdHocEntry;
  for (const std::u16string& text : services_.language.LoadLangList(
           extended ? texts::BS_G_Encrypt_ValueM2 : texts::BS_G_Encrypt_Value)) {
    ComboAdd(id::EncryptionBox, text);
  }
}

void CBasicSettingDlg::FillAuthenticationBox(int networkTypeEntry) {
  ComboReset(id::AuthenticationBox);
  std::size_t entries = SIZE_MAX;
  if (!WpaMode() || networkTypeEntry == kAdHocEntry) {
    entries = kAuthenticationWithoutWpa;
  } else if (!Wpa2Mode()) {
    entries = kAuthenticationWithoutWpa2;
  }
  for (const std::u16string& text :
       services_.language.LoadLangList(texts::BS_G_Authentication_Value, entries)) {
    ComboAdd(id::AuthenticationBox, text);
  }
}

ListBand CBasicSettingDlg::Band() const {
  switch (Capability()) {
    case band_capability::TwoPointFourOnly: return ListBand::TwoPointFour;
    case band_capability::FiveOnly: return ListBand::Five;
    default:
      switch (ComboSelection(id::WirelessModeBox)) {
        case 0: return ListBand::TwoPointFour;
        case kFiveGHzEntry: return ListBand::Five;
        default: return ListBand::None;
      }
  }
}

void CBasicSettingDlg::BuildChannelList() {
  FillChannelBox(*this, id::ChannelBox, Band(), services_.driver, services_.adapter.handle,
                 channels_);
}

void CBasicSettingDlg::BuildRateList() {
  FillRateBox(*this, id::TxRateBox, Band(), services_.radio.currentNetworkType.load(),
              {services_.driver, services_.adapter.handle, services_.store, services_.language},
              rates_);
}

// ---------------------------------------------------------------- stored values

// A dual-band adapter shows the band of the stored network: the driver's in infrastructure,
// else the stored one.
void CBasicSettingDlg::SelectStoredBand() {
  if (Capability() != band_capability::Both) {
    ComboSelect(id::WirelessModeBox, 0);
    return;
  }
  const int bandInUse =
      services_.store.ReadSettingInt(key::NetworkType) == config::network_type::Infrastructure
          ? services_.driver.QueryWL_802_11_NetworkTypeInUse(services_.adapter.handle)
          : services_.store.ReadSettingInt(key::WirelessMode);
  ComboSelect(id::WirelessModeBox, bandInUse == config::band::FiveGHz ? kFiveGHzEntry : 0);
}

void CBasicSettingDlg::LoadStoredValues() {
  config::SettingStore& store = services_.store;
  // An absent type reads as -1 and shows as infrastructure, which is what the restore pushes
  // for it.
  const int storedType = store.ReadSettingInt(key::NetworkType);
  const int typeEntry = NetworkTypeEntry(storedType);
  ComboSelect(id::NetworkTypeBox, typeEntry);
  SelectStoredBand();

  const int channel = storedType == config::network_type::Infrastructure
                          ? services_.driver.QueryWL_Channel(services_.adapter.handle)
                          : store.ReadSettingInt(key::Channel);
  int channelEntry = -1;
  for (int entry = 0; channel >= 1 && entry < channels_.count; ++entry) {
    if (channels_.channels[static_cast<std::size_t>(entry)] == (channel & 0xFF)) {
      channelEntry = entry;
      break;
    }
  }
  ComboSelect(id::ChannelBox, channelEntry);

  const std::u16string ssid = store.ReadSettingString(key::SSID).substr(0, config::kMaxSsidBytes);
  SetText(id::SsidEdit, ssid);
  SetCheck(id::AnyCheck, ssid.empty());
  Enable(id::SsidEdit, !ssid.empty());

  ComboSelect(id::TxRateBox,
              RateEntryForStoredSet(StoredRateSet(store.ReadSettingString(key::DesiredRate)),
                                    rates_));

  FillEncryptionBox(typeEntry);
  SelectEncryption(typeEntry, false);
  FillAuthenticationBox(typeEntry);
  ComboSelect(id::AuthenticationBox,
              AuthenticationEntry(store.ReadSettingInt(key::AuthenticationMode)));

  if (editing_) {
    SetText(id::ChangeApplyButton, Text(texts::BS_G_Button_Apply));
    FollowNetworkTypeEntry();
  } else {
    SetText(id::ChangeApplyButton, Text(texts::BS_G_Button_Change));
  }
  ApplyEnableRules(editing_ != 0);
}

// A profile may bring another band and network type: the lists follow before the values show.
void CBasicSettingDlg::ReloadAfterProfileAction() {
  SelectStoredBand();
  BuildChannelList();
  BuildRateList();
  LoadStoredValues();
}

// Selects the stored encryption in the list a network of `networkTypeEntry` shows. In the basic
// list after a change of network type, anything but WEP shows as disabled.
void CBasicSettingDlg::SelectEncryption(int networkTypeEntry, bool basicFallsBackToDisabled) {
  const int stored = services_.store.ReadSettingInt(key::WEPStatus);
  const bool extended = WpaMode() && networkTypeEntry != kAdHocEntry;
  if (extended) {
    ComboSelect(id::EncryptionBox, ExtendedEncryptionEntry(stored));
  } else if (basicFallsBackToDisabled) {
    ComboSelect(id::EncryptionBox,
                stored == config::encryption::WepOn ? kBasicWepEntry : kBasicDisabledEntry);
  } else {
    ComboSelect(id::EncryptionBox, stored >= 0 && stored <= 7 ? stored : -1);
  }
}

// ---------------------------------------------------------------- enabling

void CBasicSettingDlg::ApplyEnableRules(bool editing) {
  for (int box : {id::NetworkTypeBox, id::TxRateBox, id::EncryptionBox, id::AuthenticationBox,
                  id::AnyCheck}) {
    Enable(box, editing);
  }
  Enable(id::SsidEdit, editing && !GetCheck(id::AnyCheck));
  const bool notInfrastructure = ComboSelection(id::NetworkTypeBox) != kInfrastructureEntry;
  Enable(id::WirelessModeBox,
         editing && Capability() == band_capability::Both && notInfrastructure);
  Enable(id::ChannelBox, editing && notInfrastructure);
}

// Band and channel follow the network type: an infrastructure network brings its own.
void CBasicSettingDlg::FollowNetworkTypeEntry() {
  const int entry = ComboSelection(id::NetworkTypeBox);
  Enable(id::WirelessModeBox, entry != kInfrastructureEntry);
  services_.radio.currentNetworkType.store(entry);
  Enable(id::ChannelBox, entry != kInfrastructureEntry);
}

// ---------------------------------------------------------------- other controls

void CBasicSettingDlg::OnCommand(int id, CommandCode code) {
  switch (id) {
    case id::ChangeApplyButton:
      if (code == CommandCode::Clicked) OnChangeApply();
      return;
    case id::AnyCheck:
      if (code == CommandCode::Clicked) Enable(id::SsidEdit, !GetCheck(id::AnyCheck));
      return;
    case id::NetworkTypeBox:
      if (code == CommandCode::SelChange) OnNetworkTypeChanged();
      return;
    case id::WirelessModeBox:
      if (code == CommandCode::SelChange) OnWirelessModeChanged();
      return;
    case id::WepButton:
      if (code == CommandCode::Clicked) OpenSecurityDialog(services_.openWepKeys);
      return;
    case id::WpaButton:
      if (code == CommandCode::Clicked) OpenSecurityDialog(services_.openWpa);
      return;
    case id::AdvancedButton:
      if (code == CommandCode::Clicked) OpenAdvanced();
      return;
    case id::InformationButton:
      if (code == CommandCode::Clicked) OpenInformation();
      return;
    case id::LoadButton:
      if (code == CommandCode::Clicked) OnLoadProfile();
      return;
    case id::SaveButton:
      if (code == CommandCode::Clicked) OnSaveProfile();
      return;
    case id::DeleteButton:
      if (code == CommandCode::Clicked) OnDeleteProfile();
      return;
    default:
      Dialog::OnCommand(id, code);
  }
}

void CBasicSettingDlg::OnNetworkTypeChanged() {
  FollowNetworkTypeEntry();
  BuildRateList();
  const int entry = ComboSelection(id::NetworkTypeBox);
  FillEncryptionBox(entry);
  SelectEncryption(entry, true);
  FillAuthenticationBox(entry);
  ComboSelect(id::AuthenticationBox,
              AuthenticationEntry(OfferedAuthentication(
                  services_.store.ReadSettingInt(key::AuthenticationMode), entry == kAdHocEntry,
                  WpaMode(), Wpa2Mode())));
}

void CBasicSettingDlg::OnWirelessModeChanged() {
  BuildChannelList();
  BuildRateList();
}

void CBasicSettingDlg::OpenSecurityDialog(const std::function<void(int)>& open) {
  if (!open) return;
  open(dialog_number::MoreSettings);
  services_.dialogs.SetActiveDialogNumber(dialog_number::MoreSettings);
}

void CBasicSettingDlg::OpenAdvanced() {
  CAdvanceSettingDlg advanced(services_, dialog_number::MoreSettings);
  advanced.DoModal();
  services_.dialogs.SetActiveDialogNumber(dialog_number::MoreSettings);
  BuildChannelList();
  BuildRateList();
}

void CBasicSettingDlg::OpenInformation() {
  CInfoDlg information(services_, dialog_number::MoreSettings);
  information.DoModal();
  services_.dialogs.SetActiveDialogNumber(dialog_number::MoreSettings);
}

}  // namespace ui::settings
