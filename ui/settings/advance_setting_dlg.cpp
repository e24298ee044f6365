#include "ui/settings/advance_setting_dlg.h"

#include "config/appliers.h"
#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/settings/advanced_ids.h"

namespace ui::settings {

using namespace advanced;
using platform::window::CommandCode;
namespace texts = lang::texts;
namespace key = config::key;

namespace {

// Radio buttons in group order; the index is the power mode.
constexpr int kPowerRadios[] = {id::PowerCam, id::PowerMaximumSaving, id::PowerFastSaving};
constexpr int kFirstPowerRadio = id::PowerCam, kLastPowerRadio = id::PowerMaximumSaving;

constexpr int kFragmentMin = 256, kFragmentMax = 2346;
constexpr int kRtsMin = 0, kRtsMax = 2347;
constexpr int kSliderTick = 128, kSliderPage = 128;

// Chip codes of the driver information record whose chips do WMM.
bool ChipDoesWmm(std::uint32_t chipCode) { return chipCode == 4 || chipCode == 5; }

}  // namespace

CAdvanceSettingDlg::CAdvanceSettingDlg(const StationSettingsServices& services, int opener)
    : Dialog(kTemplateId), services_(services), opener_(opener) {}

bool CAdvanceSettingDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  registration_.emplace(services_.dialogs, dialog_number::Advanced, *this, opener_);
  adapter::AdapterLibrary& driver = services_.driver;
  adapter::AdapterHandle& adapter = services_.adapter.handle;
  const int powerMode = driver.QueryWL_PSMode(adapter);
  const int fragment = driver.QueryWL_FragmentationThreshold(adapter);
  const int rts = driver.QueryWL_RTS_CTS_Threshold(adapter);
  SetTexts();

  // What the driver does not offer stays visible but cannot be changed.
  for (int power : {id::PowerGroup, id::PowerCam, id::PowerMaximumSaving, id::PowerFastSaving}) {
    Enable(power, powerMode != -1);
  }
  for (int part : {id::FragmentGroup, id::FragmentSlider, id::FragmentMinLabel,
                   id::FragmentMaxLabel, id::FragmentValue}) {
    Enable(part, fragment != -1);
  }
  for (int part : {id::RtsGroup, id::RtsSlider, id::RtsMinLabel, id::RtsMaxLabel, id::RtsValue}) {
    Enable(part, rts != -1);
  }

  powerModeIndex_ = powerMode < 0 ? 0 : powerMode;

  TrackSetRange(id::FragmentSlider, kFragmentMin, kFragmentMax);
  TrackSetTickFrequency(id::FragmentSlider, kSliderTick);
  TrackSetPageSize(id::FragmentSlider, kSliderPage);
  TrackSetPosition(id::FragmentSlider,
                   fragment < kFragmentMin || fragment > kFragmentMax ? kFragmentMax : fragment);
  ShowThreshold(id::FragmentSlider);

  TrackSetRange(id::RtsSlider, kRtsMin, kRtsMax);
  TrackSetTickFrequency(id::RtsSlider, kSliderTick);
  TrackSetPageSize(id::RtsSlider, kSliderPage);
  TrackSetPosition(id::RtsSlider, rts < kRtsMin || rts > kRtsMax ? kRtsMax : rts);
  ShowThreshold(id::RtsSlider);

  // A mode beyond the three buttons checks none of them.
  CheckRadioButton(kFirstPowerRadio, kLastPowerRadio,
                   powerModeIndex_ <= 2 ? kPowerRadios[powerModeIndex_] : 0);
  return true;
}

void CAdvanceSettingDlg::OnDestroy() { registration_.reset(); }

void CAdvanceSettingDlg::SetTexts() {
  const lang::CMultiLanguage& language = services_.language;
  const auto text = [&language](const lang::TextKey& key) { return language.LoadLangString(key); };
  SetCaption(text(texts::AS_Dialog_Title));
  SetText(id::PowerGroup, text(texts::AS_Power_Consumption_Sub_Title));
  SetText(id::PowerCam, text(texts::AS_Power_CAM));
  SetText(id::PowerMaximumSaving, text(texts::AS_Power_Level_0));
  SetText(id::PowerFastSaving, text(texts::AS_Power_Level_1));
  SetText(id::FragmentGroup, text(texts::AS_Fragment_Sub_Title));
  SetText(id::RtsGroup, text(texts::AS_RTS_CTS_Sub_Title));
  SetText(id::PspXLinkCheck, text(texts::AS_PSPXLINK_MODE));
  SetText(id::WmmCheck, text(texts::AS_WMMQos_MODE));
  SetText(id::InterfaceGroup, text(texts::BS_U_Sub_Title));
  SetText(id::LanguageLabel, text(texts::BS_U_Language));
  SetText(id::RoamingGroup, text(texts::AS_Country_Roaming_Sub_Title));
  SetText(id::RoamingUserSelect, text(texts::AS_Country_Roaming_User_Select));
  SetText(id::RoamingWorldMode, text(texts::AS_Country_Roaming_World_Mode));

  SetCheck(id::PspXLinkCheck, services_.store.ReadSettingInt(key::PSPXLinkMode) == 1);
  SetCheck(id::WmmCheck, services_.store.ReadSettingInt(key::WMMQosMode) == 1);
  adapter::DriverInfo info{};
  const bool wmm = services_.driver.Query_QVDriverInfo(services_.adapter.handle, info) != -1 &&
                   ChipDoesWmm(info.chip_code);
  Enable(id::WmmCheck, wmm);
}

// The value under a slider; its maximum switches the threshold off, which the text says. The
// position is pushed whatever it is.
void CAdvanceSettingDlg::ShowThreshold(int sliderId) {
  const bool fragment = sliderId == id::FragmentSlider;
  const int position = TrackPosition(sliderId);
  const int maximum = fragment ? kFragmentMax : kRtsMax;
  const std::u16string text =
      position == maximum
          ? platform::Format(u"< %d (%s) >", position,
                             services_.language.LoadLangString(
                                 fragment ? texts::AS_Fragment_Disable : texts::AS_RTS_CTS_Disable))
          : platform::Format(u"< %d >", position);
  SetText(fragment ? id::FragmentValue : id::RtsValue, text);
  const config::ApplierContext appliers = Appliers(services_);
  if (fragment) {
    (void)config::ApplyFragmentationThreshold(appliers, position);
  } else {
    (void)config::ApplyRtsThreshold(appliers, position);
  }
}

void CAdvanceSettingDlg::ShowThresholds() {
  ShowThreshold(id::FragmentSlider);
  ShowThreshold(id::RtsSlider);
}

void CAdvanceSettingDlg::OnHScroll(int /*id*/, int /*position*/) { ShowThresholds(); }

int CAdvanceSettingDlg::CheckedPowerRadio() const {
  for (int index = 0; index < 3; ++index) {
    if (GetCheck(kPowerRadios[index])) return index;
  }
  return -1;
}

void CAdvanceSettingDlg::OnPowerRadio() {
  const int previous = powerModeIndex_;
  powerModeIndex_ = CheckedPowerRadio();
  if (powerModeIndex_ != previous && powerModeIndex_ >= 0) {
    (void)config::ApplyPowerSave(Appliers(services_), powerModeIndex_);
  }
}

// The new state follows the stored one, not the box: a refused push leaves the store as it was
// and the next click toggles from there.
void CAdvanceSettingDlg::ToggleSwitch(int checkId) {
  const bool pspXLink = checkId == id::PspXLinkCheck;
  const int stored = services_.store.ReadSettingInt(pspXLink ? key::PSPXLinkMode : key::WMMQosMode);
  const int next = stored == 0 ? 1 : 0;
  const config::ApplierContext appliers = Appliers(services_);
  if (pspXLink) {
    (void)config::ApplyPspXLink(appliers, next);
  } else {
    (void)config::ApplyWmm(appliers, next);
  }
  SetCheck(checkId, next == 1);
}

void CAdvanceSettingDlg::OnCommand(int id, CommandCode code) {
  if (code == CommandCode::Clicked) {
    switch (id) {
      case id::PowerCam:
      case id::PowerMaximumSaving:
      case id::PowerFastSaving:
        OnPowerRadio();
        return;
      case id::PspXLinkCheck:
      case id::WmmCheck:
        ToggleSwitch(id);
        return;
      default:
        break;
    }
  }
  Dialog::OnCommand(id, code);
}

}  // namespace ui::settings
