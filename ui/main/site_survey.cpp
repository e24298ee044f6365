#include "ui/main/site_survey.h"

#include "config/setting_store.h"
#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/link_status_view.h"
#include "ui/main/main_page_ids.h"

namespace ui {
namespace {

namespace id = main_page::id;
namespace texts = lang::texts;

constexpr int kPanelCurrentNetwork = 0;
constexpr int kPanelSelectedNetwork = 1;
constexpr int kWzcControls = 1;

void Call(const std::function<void()>& action) {
  if (action) action();
}

}  // namespace

std::optional<int> ChannelFromFrequency(std::uint32_t kilohertz) {
  const int megahertz = static_cast<int>(kilohertz / 1000);
  if (kilohertz >= 2'412'000 && kilohertz <= 2'484'000) {
    return kilohertz == 2'484'000 ? 14 : (megahertz - 2412) / 5 + 1;
  }
  if (kilohertz >= 4'000'000 && kilohertz < 5'000'000) return (megahertz - 4000) / 5;
  if (kilohertz >= 5'000'000 && kilohertz < 6'000'000) return (megahertz - 5000) / 5;
  return std::nullopt;
}

SiteSurvey::SiteSurvey(platform::window::Dialog& dialog, const StationPanelServices& services,
                       SiteSurveyActions actions)
    : dialog_(dialog), services_(services), actions_(std::move(actions)) {}

bool SiteSurvey::StationMode() const {
  return services_.store.OperationMode() == config::kStationMode;
}

void SiteSurvey::StartSiteSurvey() {
  SetScanState(false);
  scanPending_ = 1;
  scanWaitTicks_ = kScanWaitTicks;
  dialog_.Show(id::PanelButton, false);
  dialog_.Enable(id::ModeBox, false);
  (void)services_.driver.WL_SiteSurveyStart(services_.adapter);
}

void SiteSurvey::RetrieveSurveyResults() {
  if (!actions_.wzcState || actions_.wzcState() != kWzcControls) {
    dialog_.Show(id::PanelButton, true);
  }
  if (services_.product.enableAccessPoint != 0) dialog_.Enable(id::ModeBox, true);
  // A failed fetch may leave the driver's buffer half written: the listed result stays intact.
  std::vector<std::uint8_t> fetched(adapter::kSurveyBufferSize, 0);
  if (services_.driver.WL_RetrieveSiteSurveyData(services_.adapter, fetched) == -1) return;
  buffer_ = std::move(fetched);
  FillNetworkList();
  SetScanState(true);
  dialog_.Enable(id::List, !adapter::ReadSurveyList(buffer_).empty());
}

void SiteSurvey::FillNetworkList() {
  dialog_.ListDeleteAllItems(id::List);
  const bool showDbm = services_.product.showDbm != 0;
  int row = 0;
  for (const adapter::SurveyEntry& entry : adapter::ReadSurveyList(buffer_)) {
    const std::string ssid(entry.ssid.begin(), entry.ssid.end());
    const int inserted = dialog_.ListInsertItem(id::List, row++, platform::WidenCodePage(ssid));
    dialog_.ListSetItemText(id::List, inserted, 1, ListStrengthText(entry.signalDbm, showDbm));
  }
}

void SiteSurvey::SetScanState(bool enabled) {
  dialog_.Enable(id::List, enabled);
  dialog_.Enable(id::RefreshButton, enabled);
  const lang::CMultiLanguage& language = services_.language;
  if (!enabled) {
    dialog_.SetText(id::RefreshButton, language.LoadLangString(texts::MP_STA_Net_List_Refresh_Scan));
    dialog_.SetText(id::ListTitle, language.LoadLangString(texts::MP_STA_Available_Network_Scan));
  } else if (StationMode()) {
    dialog_.SetText(id::RefreshButton, language.LoadLangString(texts::MP_STA_Net_List_Refresh));
    dialog_.SetText(id::ListTitle,
                    language.LoadLangString(texts::MP_STA_Available_Network_AfterScan));
  }
}

std::optional<adapter::SurveyEntry> SiteSurvey::SelectedEntry() const {
  const std::vector<adapter::SurveyEntry> entries = adapter::ReadSurveyList(buffer_);
  const int mark = dialog_.ListSelectionMark(id::List);
  const std::size_t index = mark < 0 ? 0 : static_cast<std::size_t>(mark);
  if (index >= entries.size()) return std::nullopt;
  return entries[index];
}

void SiteSurvey::ShowSelectedNetwork() {
  const std::optional<adapter::SurveyEntry> entry = SelectedEntry();
  if (!entry) return;
  const lang::CMultiLanguage& language = services_.language;
  const std::optional<int> channel = ChannelFromFrequency(entry->frequencyKhz);
  dialog_.SetText(id::PanelValue1, channel ? platform::Format(u"%d", *channel) : u"Unknow");
  const lang::TextKey& type = entry->infrastructureMode == adapter::kSurveyAdHoc
                                  ? texts::MP_STA_Select_NetType_Ad_Hoc
                              : entry->infrastructureMode == adapter::kSurveyInfrastructure
                                  ? texts::MP_STA_Select_NetType_Infra
                                  : texts::MP_STA_Select_NetType_Unknown;
  dialog_.SetText(id::PanelValue2, language.LoadLangString(type));
  dialog_.SetText(id::PanelValue3, language.LoadLangString(entry->privacy == 0 ? texts::MP_STA_WEP_Off
                                                                           : texts::MP_STA_WEP_On));
  dialog_.SetText(id::PanelValue4, config::WidenText(config::BytesToHexText(
                                       entry->bssid.data(), entry->bssid.size(), true)));
}

void SiteSurvey::OnRefresh() {
  if (!StationMode()) {
    Call(actions_.refreshStationList);
  } else if (scanPending_ == 0) {
    StartSiteSurvey();
  }
}

void SiteSurvey::OnPanelButton() {
  if (!StationMode()) {
    Call(actions_.openAccessPointSettings);
  } else if (selectedView_ == 0) {
    Call(actions_.openMoreSettings);
  } else {
    Call(actions_.connectToSelectedNetwork);
  }
}

int SiteSurvey::OnListClick() {
  if (!StationMode()) return 0;
  selectedView_ = 1;
  selectedViewTicks_ = kSelectedViewTicks;
  if (actions_.setPanelLabels) actions_.setPanelLabels(kPanelSelectedNetwork);
  ShowSelectedNetwork();
  return 0;
}

int SiteSurvey::OnListDoubleClick() {
  if (StationMode()) Call(actions_.connectToSelectedNetwork);
  return 0;
}

void SiteSurvey::TickScan() {
  if (scanPending_ != 1) return;
  if (scanWaitTicks_ > 0) {
    --scanWaitTicks_;
    return;
  }
  RetrieveSurveyResults();
  scanPending_ = 0;
  if (actions_.setPanelLabels) actions_.setPanelLabels(kPanelCurrentNetwork);
  Call(actions_.refreshLinkStatus);
  selectedView_ = 0;
}

bool SiteSurvey::TickSelectedView() {
  if (selectedView_ != 1) return true;
  if (selectedViewTicks_ > 0) {
    --selectedViewTicks_;
  } else {
    if (actions_.setPanelLabels) actions_.setPanelLabels(kPanelCurrentNetwork);
    selectedView_ = 0;
  }
  return false;
}

}  // namespace ui
