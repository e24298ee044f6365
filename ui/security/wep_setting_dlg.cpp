#include "ui/security/wep_setting_dlg.h"

#include <vector>

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/security/dot1x_setting_dlg.h"
#include "ui/security/security_dialog_ids.h"
#include "ui/security/security_templates.h"
#include "ui/security/wep_info_dlg.h"
#include "ui/security/wep_keys.h"

namespace ui {

using namespace security_dialogs;
using platform::window::CommandCode;
namespace id = wep_id;
namespace texts = lang::texts;
namespace key = config::key;

namespace {

constexpr int kLengthRadios[] = {id::Length64, id::Length128, id::Length256};
constexpr int kFormatRadios[] = {id::Hexadecimal, id::Ascii};
constexpr int kAssociated = 0;  // QueryWL_ConnectState

int IndexOf(const int (&ids)[3], int controlId) {
  for (int i = 0; i < 3; ++i) {
    if (ids[i] == controlId) return i;
  }
  return -1;
}

}  // namespace

CWepSettingDlg::CWepSettingDlg(const SecurityDialogServices& services, int opener)
    : Dialog(RegisteredTemplate(wep_template::Id)), services_(services), opener_(opener) {}

std::u16string CWepSettingDlg::Text(const lang::TextKey& text) const {
  return services_.language.LoadLangString(text);
}

bool CWepSettingDlg::Dot1xKeysOffered() const { return services_.product.rc4WepSupport != 0; }

bool CWepSettingDlg::OnInitDialog() {
  registration_.emplace(services_.dialogs, dialog_number::WepKeys, *this, opener_);
  SetTexts();
  edited_ = {};
  Load();
  return true;
}

void CWepSettingDlg::OnDestroy() { registration_.reset(); }

void CWepSettingDlg::SetTexts() {
  SetCaption(Text(texts::WS_Dialog_Title) + u"  ");
  SetText(id::Frame, Text(texts::WS_Key_Set_Sub_Title));
  SetText(id::LengthLabel, Text(texts::WS_Key_Set_Key_Length));
  SetText(id::Length64, Text(texts::WS_Key_Set_Key_Length_64));
  SetText(id::Length128, Text(texts::WS_Key_Set_Key_Length_128));
  SetText(id::Length256, Text(texts::WS_Key_Set_Key_Length_256));
  SetText(id::DefaultKeyLabel, Text(texts::WS_Key_Set_Key_Default_Id));
  SetText(id::FormatLabel, Text(texts::WS_Key_Key_Format));
  SetText(id::Hexadecimal, Text(texts::WS_Key_Hexdecimal));
  SetText(id::Ascii, Text(texts::WS_Key_ASCII));
  SetText(id::ValueLabel, Text(texts::WS_Key_Set_Key_Value_Desc));
  const lang::TextKey* keyLabels[] = {
      &texts::WS_Key_Set_Key_Value_1, &texts::WS_Key_Set_Key_Value_2,
      &texts::WS_Key_Set_Key_Value_3, &texts::WS_Key_Set_Key_Value_4};
  for (int k = 0; k < 4; ++k) SetText(id::KeyLabels[k], Text(*keyLabels[k]));
  ComboReset(id::DefaultKey);
  for (int k = 1; k <= 4; ++k) ComboAdd(id::DefaultKey, platform::Format(u"#%d", k));
  Show(id::Length256, services_.product.enableWep256 != 0);
  const bool stationMode = services_.appliers.store.OperationMode() == config::kStationMode;
  Show(id::Dot1xKeys, Dot1xKeysOffered() && stationMode);
  if (Dot1xKeysOffered() && stationMode) SetText(id::Dot1xKeys, Text(texts::WS_Key_DOT1X));
  SetText(id::ChangeApply,
          Text(editing_ ? texts::WS_Key_Set_Button_Apply : texts::WS_Key_Set_Button_Change));
}

void CWepSettingDlg::Load() {
  const config::SettingStore& store = services_.appliers.store;
  lengthIndex_ = wep::LengthIndexOfBits(store.ReadSettingInt(key::WEPKeyLength));
  keyFormat_ = config::range::WEPKeyFormat.Apply(store.ReadSettingInt(key::WEPKeyFormat));
  ComboSelect(id::DefaultKey,
              config::range::WEPDefaultKeyId.Apply(store.ReadSettingInt(key::WEPDefaultKeyId)));
  Mask();
  if (Dot1xKeysOffered()) SetCheck(id::Dot1xKeys, store.ReadSettingInt(key::Dot1xRC4WEP) == 1);
  EnableKeyControls(editing_);
  Enable(id::Dot1xKeys, editing_);
  SetText(id::ChangeApply,
          Text(editing_ ? texts::WS_Key_Set_Button_Apply : texts::WS_Key_Set_Button_Change));
  ShowMembers();
}

void CWepSettingDlg::Mask() {
  const int required = wep::RequiredCharacters(lengthIndex_, keyFormat_);
  for (int k = 0; k < 4; ++k) {
    LimitText(id::Keys[k], required);
    edited_[static_cast<std::size_t>(k)] = false;
    keyTexts_[static_cast<std::size_t>(k)] =
        std::u16string(static_cast<std::size_t>(required), u'*');
  }
  ShowMembers();
}

void CWepSettingDlg::ShowMembers() {
  for (int i = 0; i < 3; ++i) SetCheck(kLengthRadios[i], i == lengthIndex_);
  for (int i = 0; i < 2; ++i) SetCheck(kFormatRadios[i], i == keyFormat_);
  for (int k = 0; k < 4; ++k) SetText(id::Keys[k], keyTexts_[static_cast<std::size_t>(k)]);
}

void CWepSettingDlg::TakeControls() {
  for (int i = 0; i < 3; ++i) {
    if (GetCheck(kLengthRadios[i])) lengthIndex_ = i;
  }
  for (int i = 0; i < 2; ++i) {
    if (GetCheck(kFormatRadios[i])) keyFormat_ = i;
  }
  for (int k = 0; k < 4; ++k) keyTexts_[static_cast<std::size_t>(k)] = GetText(id::Keys[k]);
}

void CWepSettingDlg::EnableKeyControls(bool enabled) {
  for (int radio : kLengthRadios) Enable(radio, enabled);
  for (int radio : kFormatRadios) Enable(radio, enabled);
  Enable(id::DefaultKey, enabled);
  for (int box : id::Keys) Enable(box, enabled);
}

void CWepSettingDlg::OnCommand(int controlId, CommandCode code) {
  if (code == CommandCode::Clicked) {
    if (const int length = IndexOf(kLengthRadios, controlId); length >= 0) {
      OnLengthClicked(length);
      return;
    }
    if (controlId == id::Hexadecimal || controlId == id::Ascii) {
      OnFormatClicked(controlId == id::Ascii ? wep::kAscii : wep::kHexadecimal);
      return;
    }
    if (controlId == id::Dot1xKeys) {
      EnableKeyControls(!GetCheck(id::Dot1xKeys));
      return;
    }
    if (controlId == id::ChangeApply) {
      OnChangeApply();
      return;
    }
  }
  if (code == CommandCode::EditChange) {
    for (int k = 0; k < 4; ++k) {
      if (controlId == id::Keys[k]) {
        OnKeyEdited(k);
        return;
      }
    }
  }
  Dialog::OnCommand(controlId, code);
}

void CWepSettingDlg::OnLengthClicked(int lengthIndex) {
  if (lengthIndex == lengthIndex_) return;
  lengthIndex_ = lengthIndex;
  Mask();
}

void CWepSettingDlg::OnFormatClicked(int format) {
  if (format == keyFormat_) return;
  edited_ = {};
  keyFormat_ = format;
  Mask();
  // The format is a preference of the user, kept whether or not the keys are applied.
  (void)services_.appliers.store.WriteSetting(key::WEPKeyFormat, platform::Format(u"%d", format));
}

void CWepSettingDlg::OnKeyEdited(int k) {
  const auto slot = static_cast<std::size_t>(k);
  edited_[slot] = true;
  if (keyFormat_ != wep::kHexadecimal) return;
  TakeControls();
  const wep::HexFiltered filtered = wep::KeepHexDigits(keyTexts_[slot]);
  if (!filtered.firstRemoved) return;
  keyTexts_[slot] = filtered.digits;
  ShowMembers();
  SetCaret(id::Keys[k], static_cast<int>(*filtered.firstRemoved));
}

void CWepSettingDlg::OnChangeApply() {
  adapter::AdapterLibrary& driver = services_.appliers.driver;
  adapter::AdapterHandle& adapter = services_.appliers.adapter;
  // The network the adapter is on now, so that it can go back to it with the new keys.
  std::optional<std::array<std::uint8_t, 6>> bssid;
  if (driver.QueryWL_ConnectState(adapter) == kAssociated) {
    std::array<std::uint8_t, 6> current{};
    if (driver.QueryWL_BSSID(adapter, current) != -1) bssid = current;
  }

  bool keyCheckFailed = false;
  if (editing_ && Dot1xKeysOffered() && GetCheck(id::Dot1xKeys)) {
    ApplyDot1xKeys(bssid);
  } else if (editing_) {
    keyCheckFailed = !ApplyStaticKeys(bssid);
  }

  if (keyCheckFailed) {
    CWepInfoDlg info(services_, dialog_number::WepKeys);
    (void)info.DoModal();
    services_.dialogs.SetActiveDialogNumber(dialog_number::WepKeys);
  } else {
    editing_ = !editing_;
  }
  Load();
}

void CWepSettingDlg::ApplyDot1xKeys(const std::optional<std::array<std::uint8_t, 6>>& bssid) {
  (void)services_.appliers.store.WriteSetting(key::Dot1xRC4WEP, u"1");
  const std::u16string question =
      platform::Format(u"%s\n%s\n", Text(texts::WS_DOT1X_Default_Message_Line_1),
                       Text(texts::WS_DOT1X_Default_Message_Line_2));
  if (MessageBox(question, Text(texts::WS_DOT1X_Default_Message_Title),
                 platform::window::MessageButtons::YesNo,
                 platform::window::MessageIcon::Question) == platform::window::MessageResult::No) {
    CDot1xSettingDlg wpa(services_, dialog_number::WepKeys);
    (void)wpa.DoModal();
    services_.dialogs.SetActiveDialogNumber(dialog_number::WepKeys);
  }
  if (opener_ != dialog_number::MoreSettings) return;
  services_.supplicant.StopSupplicant();
  // Open system: the keys arrive only after authentication. Not stored, the supplicant sets it.
  (void)services_.appliers.driver.SetWL_AuthenticationMode(services_.appliers.adapter,
                                                           config::auth_mode::Open);
  Reassociate(bssid);
  services_.supplicant.StartSupplicant();
}

bool CWepSettingDlg::ApplyStaticKeys(const std::optional<std::array<std::uint8_t, 6>>& bssid) {
  TakeControls();
  const config::ApplierContext& appliers = services_.appliers;
  const int bits = wep::BitsOfLengthIndex(lengthIndex_);
  int transmitKey = ComboSelection(id::DefaultKey);
  if (transmitKey < 0 || transmitKey > 3) transmitKey = 0;

  // Every typed key is checked before any key is pushed: a wrong one leaves all as they were.
  std::array<std::array<std::uint8_t, config::kMaxWepKeyBytes>, 4> keys{};
  for (std::size_t k = 0; k < 4; ++k) {
    if (edited_[k]) {
      const std::optional<std::vector<std::uint8_t>> typed =
          wep::TypedKeyBytes(keyTexts_[k], lengthIndex_, keyFormat_);
      if (!typed) return false;
      std::copy(typed->begin(), typed->end(), keys[k].begin());
    } else {
      (void)appliers.store.ReadStoredWepKey(bits, static_cast<int>(k), keys[k].data(),
                                            keys[k].size());
    }
  }

  (void)appliers.store.WriteSetting(key::Dot1xRC4WEP, u"0");
  const auto keyBytes = static_cast<std::size_t>(wep::KeyBytes(lengthIndex_));
  for (std::size_t k = 0; k < 4; ++k) {
    const int index = static_cast<int>(k);
    (void)config::ApplyWepKey(appliers, index, lengthIndex_, index == transmitKey,
                              std::span(keys[k]).first(keyBytes));
  }
  if (opener_ == dialog_number::MoreSettings) Reassociate(bssid);
  return true;
}

void CWepSettingDlg::Reassociate(const std::optional<std::array<std::uint8_t, 6>>& bssid) {
  const config::ApplierContext& appliers = services_.appliers;
  if (bssid) (void)appliers.driver.SetWL_BSSID(appliers.adapter, *bssid);
  const std::u16string ssid = appliers.store.ReadSettingString(key::SSID);
  const std::string bytes = platform::NarrowCodePage(std::u16string_view(ssid).substr(0, 32));
  (void)config::ApplySsid(
      appliers, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace ui
