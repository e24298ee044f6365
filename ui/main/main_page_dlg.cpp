#include "ui/main/main_page_dlg.h"

#include <chrono>

#include "app/instance_titles.h"
#include "config/restore.h"
#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace ui {

using namespace main_page;
using platform::window::CommandCode;
namespace texts = lang::texts;

namespace {

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;
constexpr unsigned kSysCommandIgnored = 0x0010;
// Far outside any screen: the window keeps its size but stays out of sight until opened.
constexpr int kOffScreen = 30000;
constexpr int kDefaultRefreshPeriodMs = 1000;
constexpr int kAnimationFrames = 3;

std::vector<std::u16string> HardwareIds(const app::ProductConfig& product) {
  return {product.matchingDeviceIds.begin(), product.matchingDeviceIds.end()};
}

StationDisplayProduct DisplayProduct(const app::ProductConfig& product) {
  StationDisplayProduct display;
  display.showBssid = product.showBssid;
  display.showDbm = product.showDbm;
  display.pseudoIbssSupport = product.pseudoIbssSupport;
  display.trayIconAnimation = product.trayIconAnimation;
  display.txRateShowMaxLimit = product.txRateShowMaxLimit;
  display.txRateAutoShowMax = product.txRateAutoShowMax;
  display.debugMode = product.debugMode;
  display.enableAccessPoint = product.enableAccessPoint;
  display.strengthMinDb = product.strengthMinDb;
  display.strengthMaxDb = product.strengthMaxDb;
  display.qualityMin = product.qualityMin;
  display.qualityMax = product.qualityMax;
  return display;
}

}  // namespace

CMainPageDlg::CMainPageDlg(MainWindowServices& services, DelayedServiceChoice delayedService)
    : Dialog(kTemplateId),
      services_(services),
      panelServices_{services.driver,
                     services.adapter.handle,
                     services.store,
                     services.language,
                     DisplayProduct(services.product),
                     services.radio.wasDisconnected,
                     // Address renewal after a reconnection is needed on the older system
                     // family only; this program runs on the newer one.
                     [] {},
                     [this](int index) { services_.tray.SetIcon(icon::Tray[index]); }},
      link_{*this, panelServices_},
      currentNetwork_{*this, panelServices_, link_},
      survey_{*this, panelServices_,
              SiteSurveyActions{
                  [this](int mode) { SetPanelLabels(static_cast<PanelMode>(mode)); },
                  [this] { RefreshLinkStatus(); },
                  [this] { RefreshStationList(); },
                  // The access point settings dialog is not built yet.
                  [] {},
                  [this] { OpenMoreSettings(); },
                  [this] { ConnectToSelectedNetwork(); },
                  [this] { return wzcState_; }}},
      accessPoint_{*this, Appliers(), services.language},
      discovery_({services.driver, services.store.Registry(), services.clock, *this, *this},
                 services.adapter, HardwareIds(services.product)),
      delayedService_(delayedService) {}

CMainPageDlg::~CMainPageDlg() {
  if (services_.dialogs.Registered(dialog_number::Main) == this) {
    services_.dialogs.SetMainWindow(nullptr);
  }
}

std::u16string CMainPageDlg::Text(const lang::TextKey& key) const {
  return services_.language.LoadLangString(key);
}

config::ApplierContext CMainPageDlg::Appliers() const {
  return {services_.driver, services_.adapter.handle, services_.store, services_.radio};
}

// ---------------------------------------------------------------- creation and end of life

bool CMainPageDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  services_.dialogs.SetMainWindow(this);
  services_.dialogs.SetActiveDialogNumber(dialog_number::Main);

  survey_.ClearSelectedView();
  survey_.CancelScan();
  animationFrame_ = 0;
  link_.ClearConnectingDots();
  modeBoxAllowed_ = 0;
  wzcState_ = -1;
  services_.store.SetOperationMode(config::kStationMode);

  link_.ShowTrayIcon(tray_index::NotConnected);
  ShowWindow(false);
  SetWindowTexts();
  ResetSignalAverages();
  discovery_.DiscoverAdapters();

  SetTimer(kRefreshTimer, RefreshPeriod());
  timerId_ = kRefreshTimer;
  MoveWindow(kOffScreen, kOffScreen);
  // Without a notification area nothing could ever open a hidden window.
  if (!services_.startHidden) ShowUtilityWindow();
  return true;
}

// A product file with no usable period gets the usual one rather than a timer that never rests.
std::chrono::milliseconds CMainPageDlg::RefreshPeriod() const {
  return std::chrono::milliseconds(services_.product.mainPageUpdateTimeMs > 0
                                       ? services_.product.mainPageUpdateTimeMs
                                       : kDefaultRefreshPeriodMs);
}

void CMainPageDlg::OnDestroy() {
  StopSupplicant();
  (void)services_.driver.QV_GetOSVersion();
}

// ---------------------------------------------------------------- texts and layouts

void CMainPageDlg::SetWindowTexts() {
  SetBigIcon(icon::App);

  // The caption is the title a second start looks for, so both come from one rule.
  SetCaption(app::WindowTitle(services_.language, services_.product.releaseChipMode));

  SetText(id::AdapterLabel, Text(texts::MP_Network_Adapter));
  SetText(id::ModeLabel, Text(texts::MP_STA_AP_Mode));
  ComboReset(id::ModeBox);
  ComboAdd(id::ModeBox, Text(texts::MP_STA_AP_Toggle_Button_STA));
  ComboAdd(id::ModeBox, Text(texts::MP_STA_AP_Toggle_Button_AP));
  ComboSelect(id::ModeBox, OperationMode());

  const bool modeBox = services_.product.enableAccessPoint == 1 && modeBoxAllowed_ == 1;
  Show(id::ModeLabel, modeBox);
  Show(id::ModeBox, modeBox);

  if (OperationMode() == config::kStationMode) {
    SetListLayout(ListLayout::Station);
    SetPanelLabels(survey_.SelectedView() ? PanelMode::SelectedNetwork
                                          : PanelMode::CurrentNetwork);
    SetLinkAreaLayout(ListLayout::Station);
  } else {
    SetListLayout(ListLayout::AccessPoint);
    SetPanelLabels(PanelMode::AccessPointSetting);
    SetLinkAreaLayout(ListLayout::AccessPoint);
  }
}

void CMainPageDlg::SetPanelLabels(PanelMode mode) {
  struct Labels {
    lang::TextKey title, row1, row2, row3, row4;
    const lang::TextKey* row5;  // null: the row is empty
    lang::TextKey button;
  };
  static const Labels kCurrent{texts::MP_STA_Curr_Net_Info_Title,
                               texts::MP_STA_Curr_Net_Info_Channel,
                               texts::MP_STA_Curr_Net_Info_Type,
                               texts::MP_STA_Curr_Net_Info_SSID,
                               texts::MP_STA_Curr_Net_Info_TxRate,
                               &texts::MP_STA_Curr_Net_Info_WEP,
                               texts::MP_STA_Curr_Net_Info_More_Set};
  static const Labels kSelected{texts::MP_STA_Select_Net_Info_Title,
                                texts::MP_STA_Select_Net_Info_Channel,
                                texts::MP_STA_Curr_Net_Info_Type,
                                texts::MP_STA_Select_Net_Info_WEP,
                                texts::MP_STA_Select_Net_Info_BSSID,
                                nullptr,
                                texts::MP_STA_Select_Net_Info_Connect};
  static const Labels kAccessPoint{texts::MP_AP_Curr_Net_Setting_Title,
                                   texts::MP_AP_Curr_Net_Setting_Channel,
                                   texts::MP_AP_Curr_Net_Setting_SSID,
                                   texts::MP_AP_Curr_Net_Setting_WEP,
                                   texts::MP_AP_Curr_Net_Setting_Tx_Power,
                                   nullptr,
                                   texts::MP_AP_Curr_Net_Setting_More_Set};
  const Labels* labels = nullptr;
  switch (mode) {
    case PanelMode::CurrentNetwork: labels = &kCurrent; break;
    case PanelMode::SelectedNetwork: labels = &kSelected; break;
    case PanelMode::AccessPointSetting: labels = &kAccessPoint; break;
  }
  SetText(id::PanelGroup, Text(labels->title));
  SetText(id::PanelLabel1, Text(labels->row1));
  SetText(id::PanelLabel2, Text(labels->row2));
  SetText(id::PanelLabel3, Text(labels->row3));
  SetText(id::PanelLabel4, Text(labels->row4));
  SetText(id::PanelLabel5, labels->row5 ? Text(*labels->row5) : std::u16string());
  SetText(id::PanelButton, Text(labels->button));

  for (int value : {id::PanelValue1, id::PanelValue2, id::PanelValue3, id::PanelValue4,
                    id::PanelValue5, id::LinkStatusText, id::SignalText, id::QualityText,
                    id::TxFrameText, id::RxFrameText}) {
    SetText(value, u"");
  }
}

void CMainPageDlg::SetListLayout(ListLayout layout) {
  ListDeleteAllItems(id::List);
  ListDeleteAllColumns(id::List);
  switch (layout) {
    case ListLayout::Station:
      SetText(id::ListTitle, Text(texts::MP_STA_Available_Network));
      SetText(id::RefreshButton, Text(texts::MP_STA_Net_List_Refresh));
      ListInsertColumn(id::List, 0, Text(texts::MP_STA_Net_List_SSID), 105);
      ListInsertColumn(id::List, 1, Text(texts::MP_STA_Net_List_Strength), 64);
      columnCount_ = 2;
      FillNetworkList();
      break;
    case ListLayout::AccessPoint:
      SetText(id::ListTitle, Text(texts::MP_AP_Station_List));
      SetText(id::RefreshButton, u"");
      ListInsertColumn(id::List, 0, Text(texts::MP_AP_Station_List_Station_MAC), 169);
      columnCount_ = 1;
      break;
  }
  ListSetFullRowSelect(id::List, true);
}

void CMainPageDlg::SetLinkAreaLayout(ListLayout layout) {
  switch (layout) {
    case ListLayout::Station:
      for (int shown : {id::LinkStatusLabel, id::SignalLabel, id::QualityLabel, id::TxFrameLabel,
                        id::RxFrameLabel, id::LinkStatusText, id::SignalText, id::QualityText,
                        id::TxFrameText, id::RxFrameText}) {
        Show(shown, true);
      }
      Show(id::WzcBanner, false);
      SetText(id::LinkStatusLabel, Text(texts::MP_STA_Link_Status));
      SetText(id::SignalLabel, Text(texts::MP_STA_Signal_Strength));
      SetText(id::QualityLabel, Text(texts::MP_STA_Link_Quality));
      SetText(id::TxFrameLabel, Text(texts::MP_STA_Tx_Frame));
      SetText(id::RxFrameLabel, Text(texts::MP_STA_Rx_Frame));
      for (int cleared : {id::WzcBanner, id::LinkStatusText, id::SignalText, id::QualityText,
                          id::TxFrameText, id::RxFrameText}) {
        SetText(cleared, u"");
      }
      for (int bar : {id::SignalBar, id::QualityBar}) {
        ProgressSetRange(bar, 0, 100);
        ProgressSetPosition(bar, 0);
        Show(bar, true);
      }
      break;
    case ListLayout::AccessPoint:
      for (int hidden : {id::LinkStatusLabel, id::SignalLabel, id::QualityLabel, id::WzcBanner,
                         id::LinkStatusText, id::SignalText, id::QualityText, id::SignalBar,
                         id::QualityBar}) {
        Show(hidden, false);
      }
      for (int shown : {id::TxFrameLabel, id::RxFrameLabel, id::TxFrameText, id::RxFrameText}) {
        Show(shown, true);
      }
      for (int cleared : {id::LinkStatusLabel, id::SignalLabel, id::QualityLabel,
                          id::TxFrameLabel, id::RxFrameLabel, id::WzcBanner, id::LinkStatusText,
                          id::SignalText, id::QualityText, id::TxFrameText, id::RxFrameText}) {
        SetText(cleared, u"");
      }
      SetText(id::TxFrameLabel, Text(texts::MP_STA_Tx_Frame));
      SetText(id::RxFrameLabel, Text(texts::MP_STA_Rx_Frame));
      break;
  }
}

// ---------------------------------------------------------------- the refresh tick

void CMainPageDlg::OnTimer(int timerId) {
  TickWork(timerId);
  Dialog::OnTimer(timerId);
}

void CMainPageDlg::TickWork(int timerId) {
  if (HandleInstanceRequests()) return;
  HandleDelayedServiceChoice();

  if (!discovery_.AdapterOpen()) {
    if (!PollForAdapter()) return;
  } else if (services_.driver.QueryWL_DriverVersion(services_.adapter.handle) == -1) {
    AdapterVanished();
    return;
  }

  if (!FollowWzcState()) return;
  if (timerId != kRefreshTimer) return;

  AdvanceAnimation();
  if (OperationMode() == config::kAccessPointMode) {
    PollAccessPoint();
  } else {
    PollStation();
  }
}

bool CMainPageDlg::HandleInstanceRequests() {
  config::SettingStore& store = services_.store;
  const std::u16string exitName = store.ChipValue(config::app_value::ExitRequest);
  if (store.ReadAppNumber(exitName, 0) == 1) {
    (void)store.WriteAppNumber(exitName, 0);
    KillTimer(kRefreshTimer);
    PostCommand(command::Exit);
    return true;
  }
  const std::u16string wakeUpName = store.ChipValue(config::app_value::WakeUpRequest);
  if (store.ReadAppNumber(wakeUpName, 0) == 1) {
    (void)store.WriteAppNumber(wakeUpName, 0);
    if (discovery_.AdapterOpen()) PostCommand(command::OpenUtilityWindow);
    return true;
  }
  return false;
}

void CMainPageDlg::HandleDelayedServiceChoice() {
  if (delayedService_.pending) {
    ++delayTickCounter_;
    if (delayTickCounter_ >= delayedService_.delayTicks) {
      if (services_.store.ReadAppNumber(config::app_value::OwnClientRun, 0) != 0) {
        (void)services_.driver.QVStopWZCService();
      } else {
        (void)services_.driver.QVStartWZCService();
      }
      delayedService_.pending = false;
    }
  }
  if (services_.startHidden) ShowWindow(false);
}

bool CMainPageDlg::PollForAdapter() {
  if (discovery_.CountPnpWaitTick()) return false;
  discovery_.DiscoverAdapters();
  if (discovery_.PnpWaitState() == adapter::AdapterDiscovery::PnpWait::Waiting ||
      services_.adapter.handle.handle == adapter::kNoAdapterHandle) {
    return false;
  }
  survey_.ClearSelectedView();
  animationFrame_ = 0;
  link_.ClearConnectingDots();
  apTicks_ = 0;
  SetScanState(true);
  return true;
}

void CMainPageDlg::AdapterVanished() {
  StopSupplicant();
  services_.dialogs.CloseDialogChain(ChainClose::Hide);
  discovery_.MarkAdapterClosed();
  (void)services_.driver.QvCloseAdapter(services_.adapter.handle);
  // The record no longer names an open adapter; a later discovery that lists none must not
  // take it for one.
  services_.adapter.handle.handle = adapter::kNoAdapterHandle;
  services_.tray.RemoveIcon();
  TerminateBluetoothUtility();
}

bool CMainPageDlg::FollowWzcState() {
  adapter::AdapterLibrary& driver = services_.driver;
  adapter::AdapterHandle& handle = services_.adapter.handle;
  if (wzcState_ == 1) {
    CheckWzcStatus();
    SetWzcMenuText();
    switch (wzcState_) {
      case 0:
        (void)driver.SetWL_QVUseQVXOidState(handle, services_.product.qvxOidMode);
        (void)driver.QueryWL_QVUseQVXOidState(handle);
        RestoreStoredConfiguration();
        break;
      case 1:
        return false;
      case 2:
        RestoreStoredConfiguration();
        break;
    }
    return true;
  }
  CheckWzcStatus();
  SetWzcMenuText();
  if (wzcState_ != 1) return true;
  link_.ShowTrayIcon(tray_index::Wzc);
  services_.dialogs.CloseDialogChain(ChainClose::Hide);
  (void)driver.SetWL_QVUseQVXOidState(handle, 0);
  (void)driver.QueryWL_QVUseQVXOidState(handle);
  return false;
}

void CMainPageDlg::AdvanceAnimation() {
  const int picture = icon::ActivityFirst + animationFrame_;
  animationFrame_ = (animationFrame_ + 1) % kAnimationFrames;
  SetPictureIcon(id::ActivityIcon, picture);
}

void CMainPageDlg::PollAccessPoint() {
  adapter::AdapterLibrary& driver = services_.driver;
  adapter::AdapterHandle& handle = services_.adapter.handle;
  const std::int32_t channel = driver.QueryWL_Channel(handle);
  if (channel >= 0) SetText(id::PanelValue1, platform::Format(u"%d", channel));
  std::uint32_t sent = 0, received = 0;
  if (driver.GetTxRxFrameCount(handle, sent, received) != -1) {
    SetText(id::TxFrameText, platform::Format(u"%lu", sent));
    SetText(id::RxFrameText, platform::Format(u"%lu", received));
  }
  if (++apTicks_ >= kApTicksPerStationRefresh) {
    RefreshStationList();
    apTicks_ = 0;
  }
}

void CMainPageDlg::PollStation() {
  survey_.TickScan();
  if (survey_.TickSelectedView()) RefreshCurrentNetwork();
  RefreshLinkStatus();
}

// ---------------------------------------------------------------- commands and keys

void CMainPageDlg::OnCommand(int id, CommandCode code) {
  if (code == CommandCode::Menu && id == command::Exit) {
    Exit();
    return;
  }
  if (code == CommandCode::Menu && id == command::OpenUtilityWindow) {
    OpenUtilityWindow();
    return;
  }
  if (code == CommandCode::Menu && id == command::SwitchWzc) {
    SwitchWzc();
    return;
  }
  if (code == CommandCode::SelChange && id == id::AdapterBox) {
    discovery_.OnAdapterSelected();
    return;
  }
  if (code == CommandCode::SelChange && id == id::ModeBox) {
    OnModeSelected();
    return;
  }
  if (code == CommandCode::Clicked && id == id::RefreshButton) {
    OnRefresh();
    return;
  }
  if (code == CommandCode::Clicked && id == id::PanelButton) {
    survey_.OnPanelButton();
    return;
  }
  Dialog::OnCommand(id, code);
}

int CMainPageDlg::OnNotify(int id, platform::window::ListEvent event, int row) {
  if (id != id::List) return Dialog::OnNotify(id, event, row);
  switch (event) {
    case platform::window::ListEvent::Click: return survey_.OnListClick();
    case platform::window::ListEvent::DoubleClick: return survey_.OnListDoubleClick();
  }
  return 0;
}

void CMainPageDlg::OpenUtilityWindow() {
  services_.startHidden = false;
  KillTimer(kRefreshTimer);
  if (wzcState_ == 1) {
    (void)MessageBox(Text(texts::MP_STA_WZCMsg_1), Text(texts::MP_STA_WZCMsg_Title),
                     platform::window::MessageButtons::Ok,
                     discovery_.ClassKeyWriteDenied() ? platform::window::MessageIcon::Information
                                                      : platform::window::MessageIcon::Question);
  }
  // While the system's service drives the adapter the window stays hidden.
  if (services_.driver.QueryWL_CheckWZCStatus(services_.adapter.handle) != 1) ShowUtilityWindow();
  SetTimer(kRefreshTimer, RefreshPeriod());
}

void CMainPageDlg::ShowUtilityWindow() {
  CenterWindow();
  ShowWindow(true);
  BringToForeground();
}

// The effect shows on the following ticks, when the library reports the new state.
void CMainPageDlg::SwitchWzc() {
  if (wzcState_ == 1) {
    (void)services_.driver.QVStopWZCService();
    (void)services_.store.WriteAppNumber(config::app_value::OwnClientRun, 1);
  } else {
    (void)services_.driver.QVStartWZCService();
    (void)services_.store.WriteAppNumber(config::app_value::OwnClientRun, 0);
  }
}

void CMainPageDlg::Exit() {
  (void)services_.driver.SetWL_QVUseQVXOidState(services_.adapter.handle, 0);
  TerminateBluetoothUtility();
  services_.dialogs.CloseDialogChain(ChainClose::End);
}

void CMainPageDlg::OnSysCommand(unsigned command, int position) {
  switch (command & 0xFFF0u) {
    case kSysCommandIgnored:
      return;
    case platform::window::ScMinimize:
    case platform::window::ScClose:
      // The close and minimise boxes send the window back to the tray; from the keyboard the
      // command only brings it forward.
      if (position != 0) {
        ShowWindow(false);
      } else {
        BringToForeground();
      }
      return;
    default:
      Dialog::OnSysCommand(command, position);
  }
}

bool CMainPageDlg::PreTranslateKey(int virtualKey) {
  return virtualKey == kEnterKey || virtualKey == kEscapeKey;
}

void CMainPageDlg::OnTaskbarCreated() {
  if (services_.driver.QueryWL_DriverVersion(services_.adapter.handle) == -1) {
    services_.tray.RemoveIcon();
  } else {
    services_.tray.AddIcon(icon::Tray[link_.TrayIconIndex()]);
  }
}

// ---------------------------------------------------------------- adapter box and selection

void CMainPageDlg::ResetAdapterBox() { ComboReset(id::AdapterBox); }

void CMainPageDlg::AddAdapterBoxItem(std::u16string_view text) { ComboAdd(id::AdapterBox, text); }

void CMainPageDlg::SelectAdapterBoxItem(int index) { ComboSelect(id::AdapterBox, index); }

int CMainPageDlg::AdapterBoxSelection() const { return ComboSelection(id::AdapterBox); }

void CMainPageDlg::AdapterInstanceChanged(std::string_view instance) {
  services_.store.SetAdapterInstance(instance);
}

void CMainPageDlg::AdapterOpened() {
  adapter::AdapterLibrary& driver = services_.driver;
  adapter::AdapterHandle& handle = services_.adapter.handle;
  config::SettingStore& store = services_.store;

  modeBoxAllowed_ = 0;
  int trayIndex = tray_index::NotConnected;
  // The stored mode comes from the registry: anything but the two modes counts as station, so
  // no meaningless mode is ever pushed to the driver.
  int storedMode =
      store.ReadAppNumber(store.ChipValue(config::app_value::OperationMode), config::kStationMode);
  if (storedMode != config::kAccessPointMode) storedMode = config::kStationMode;

  if (services_.product.enableAccessPoint == 1) {
    std::int32_t current = driver.QueryWL_OperationMode_STA_AP(handle);
    if (current != storedMode) {
      (void)driver.SetWL_OperationMode_STA_AP(handle, storedMode);
      current = storedMode;
      services_.clock.Sleep(kModeSwitchSettle);
    }
    switch (current) {
      case config::kStationMode:
        store.SetOperationMode(config::kStationMode);
        trayIndex = tray_index::NotConnected;
        modeBoxAllowed_ = 1;
        break;
      case config::kAccessPointMode:
        store.SetOperationMode(config::kAccessPointMode);
        trayIndex = tray_index::AccessPoint;
        modeBoxAllowed_ = 1;
        break;
      default:
        store.SetOperationMode(config::kStationMode);
        trayIndex = tray_index::NotConnected;
        break;
    }
    SetWindowTexts();
  }
  link_.ShowTrayIcon(trayIndex);

  survey_.CancelScan();
  if (OperationMode() == config::kStationMode) OnRefresh();
  Show(id::ModeLabel, modeBoxAllowed_ == 1);
  Show(id::ModeBox, modeBoxAllowed_ == 1);

  wzcState_ = -1;
  CheckWzcStatus();
  if (wzcState_ == 1) {
    link_.ShowTrayIcon(tray_index::Wzc);
  } else {
    RestoreStoredConfiguration();
  }

  if (OperationMode() == config::kAccessPointMode) {
    RefreshApPanel();
    StartBridgeProgram();
    Show(id::PanelButton, true);
    Enable(id::PanelButton, true);
    Enable(id::RefreshButton, false);
  }
  if (services_.product.blueToothSupport != 0) StartBluetoothUtility();

  services_.tray.SetMenuText(1, Text(texts::MP_Small_Icon_Item_1));
  SetWzcMenuText();
  services_.tray.SetMenuText(3, Text(texts::MP_Small_Icon_Item_2));
  // Brings the icon back after the adapter had vanished.
  services_.tray.AddIcon(icon::Tray[link_.TrayIconIndex()]);

  (void)link_.TakeIdleRate();
}

// ---------------------------------------------------------------- helpers

void CMainPageDlg::RestoreStoredConfiguration() {
  const config::ApplierContext context = Appliers();
  const config::RestoreEnvironment environment{services_.clock, services_.supplicant,
                                               services_.language, services_.product.wirelessMode,
                                               services_.adapter.chipType};
  (void)config::RestoreConfiguration(context, environment);
}

void CMainPageDlg::SetWzcMenuText() {
  services_.tray.SetMenuText(2, Text(wzcState_ == 1 ? texts::MP_Small_Icon_Item_Client_QV
                                                    : texts::MP_Small_Icon_Item_Client_MS));
}

void CMainPageDlg::TerminateBluetoothUtility() {
  if (!services_.bluetoothUtility) return;
  (void)services_.bluetoothUtility->Terminate(0);
  services_.bluetoothUtility.reset();
}

void CMainPageDlg::CheckWzcStatus() {
  const std::int32_t reported = services_.driver.QueryWL_CheckWZCStatus(services_.adapter.handle);
  if (reported < 0 || reported > 2 || reported == wzcState_) return;
  wzcState_ = reported;
  // While the operating system's service drives the adapter our private requests stay off.
  (void)services_.driver.SetWL_QVUseQVXOidState(services_.adapter.handle,
                                                reported == 1 ? 0 : services_.product.qvxOidMode);
}

// ---------------------------------------------------------------- operations of later panels

void CMainPageDlg::RefreshLinkStatus() { link_.RefreshLinkStatus(survey_.ScanPending()); }
void CMainPageDlg::ResetSignalAverages() { link_.ResetSignalAverages(); }
void CMainPageDlg::RefreshCurrentNetwork() { currentNetwork_.RefreshCurrentNetwork(); }
void CMainPageDlg::OnRefresh() { survey_.OnRefresh(); }
void CMainPageDlg::StartSiteSurvey() { survey_.StartSiteSurvey(); }
void CMainPageDlg::RetrieveSurveyResults() { survey_.RetrieveSurveyResults(); }
void CMainPageDlg::FillNetworkList() { survey_.FillNetworkList(); }
void CMainPageDlg::SetScanState(bool enabled) { survey_.SetScanState(enabled); }
void CMainPageDlg::ShowSelectedNetwork() { survey_.ShowSelectedNetwork(); }
void CMainPageDlg::RefreshApPanel() { accessPoint_.RefreshApPanel(); }
void CMainPageDlg::RefreshStationList() { accessPoint_.RefreshStationList(); }
void CMainPageDlg::StartBridgeProgram() {}        // filled in with the bridge program
void CMainPageDlg::StartBluetoothUtility() {}     // filled in with Bluetooth coexistence
void CMainPageDlg::StopSupplicant() { services_.supplicant.StopSupplicant(); }

}  // namespace ui
