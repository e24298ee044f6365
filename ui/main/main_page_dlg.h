#pragma once
// The main window: adapter box, mode box, network or station list, information panel and link
// area. It lives hidden behind the tray icon for the whole run; one refresh timer drives all
// polling of the adapter.

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

#include "adapter/adapter_discovery.h"
#include "config/appliers.h"
#include "platform/window/dialog.h"
#include "ui/main/access_point_panel.h"
#include "ui/main/current_network_panel.h"
#include "ui/main/link_status_view.h"
#include "ui/main/main_page_ids.h"
#include "ui/main/main_window_services.h"
#include "ui/main/site_survey.h"
#include "ui/main/station_panel_services.h"

namespace ui {

class CMainPageDlg : public platform::window::Dialog,
                     private adapter::AdapterBox,
                     private adapter::AdapterSelectionHandler {
 public:
  static constexpr int kApTicksPerStationRefresh = 5;
  // The driver needs a moment after a change of operating mode, and a station a little more.
  static constexpr std::chrono::milliseconds kModeSwitchSettle{1000};
  static constexpr std::chrono::milliseconds kStationModeSettle{200};

  enum class ListLayout { Station, AccessPoint };
  enum class PanelMode { CurrentNetwork = 0, SelectedNetwork = 1, AccessPointSetting = 2 };

  CMainPageDlg(MainWindowServices& services, DelayedServiceChoice delayedService = {});
  ~CMainPageDlg() override;

  // ---- events
  bool OnInitDialog() override;
  void OnTimer(int timerId) override;
  void OnCommand(int id, platform::window::CommandCode code) override;
  int OnNotify(int id, platform::window::ListEvent event, int row) override;
  void OnSysCommand(unsigned command, int position) override;
  bool PreTranslateKey(int virtualKey) override;
  void OnTaskbarCreated() override;
  void OnDestroy() override;

  // ---- layout and texts, also used by the mode switch and the list handlers
  void SetWindowTexts();
  void SetPanelLabels(PanelMode mode);
  void SetListLayout(ListLayout layout);
  void SetLinkAreaLayout(ListLayout layout);

  // ---- state for the panels that build on the window, and for tests
  bool AdapterOpen() const { return discovery_.AdapterOpen(); }
  const adapter::AdapterDiscovery& Discovery() const { return discovery_; }
  int WzcState() const { return wzcState_; }
  int TrayIconIndex() const { return link_.TrayIconIndex(); }
  int AnimationFrame() const { return animationFrame_; }
  bool ScanPending() const { return survey_.ScanPending(); }
  bool SelectedView() const { return survey_.SelectedView(); }
  bool ModeBoxAllowed() const { return modeBoxAllowed_ != 0; }
  std::span<const std::uint8_t> SurveyBuffer() const { return survey_.SurveyBuffer(); }

 protected:
  // ---- operations of the panels that build on this window
  void RefreshLinkStatus();
  void ResetSignalAverages();
  void RefreshCurrentNetwork();
  void OnRefresh();  // the "Refresh" button: starts a scan
  void StartSiteSurvey();
  void RetrieveSurveyResults();
  void FillNetworkList();
  void SetScanState(bool enabled);
  void ShowSelectedNetwork();
  void ConnectToSelectedNetwork();
  void OnModeSelected();
  void CheckWzcStatus();
  void RefreshApPanel();
  void RefreshStationList();
  void StartBridgeProgram();
  void StartBluetoothUtility();
  void StopSupplicant();
  void OpenMoreSettings();  // station mode's panel button (open_more_settings.cpp)

 private:
  // adapter::AdapterBox: control 1181
  void ResetAdapterBox() override;
  void AddAdapterBoxItem(std::u16string_view text) override;
  void SelectAdapterBoxItem(int index) override;
  int AdapterBoxSelection() const override;
  // adapter::AdapterSelectionHandler
  void AdapterInstanceChanged(std::string_view instance) override;
  void AdapterOpened() override;

  // The work of one tick, without the base handling that follows it.
  void TickWork(int timerId);
  // True when a request of a second instance ended the tick.
  bool HandleInstanceRequests();
  void HandleDelayedServiceChoice();
  // True when the tick goes on after looking for an adapter.
  bool PollForAdapter();
  void AdapterVanished();
  // True when the tick goes on after the hand-over check.
  bool FollowWzcState();
  void AdvanceAnimation();
  void PollAccessPoint();
  void PollStation();
  void Exit();
  void OpenUtilityWindow();  // tray command "Open Utility Window"
  void ShowUtilityWindow();  // centred, shown and in front
  void SwitchWzc();          // tray command handing the adapter to or from the system's service
  std::chrono::milliseconds RefreshPeriod() const;

  void RestoreStoredConfiguration();
  void SetWzcMenuText();
  void TerminateBluetoothUtility();
  int OperationMode() const { return services_.store.OperationMode(); }
  std::u16string Text(const lang::TextKey& key) const;
  config::ApplierContext Appliers() const;

  MainWindowServices& services_;
  // The station panels keep references into services_ and call back into the window, so they
  // come after services_ and in this order.
  StationPanelServices panelServices_;
  LinkStatusView link_;
  CurrentNetworkPanel currentNetwork_;
  SiteSurvey survey_;
  AccessPointPanel accessPoint_;
  adapter::AdapterDiscovery discovery_;

  int timerId_ = 0;
  int animationFrame_ = 0;
  int apTicks_ = 0;
  int columnCount_ = 0;
  int wzcState_ = -1;
  int modeBoxAllowed_ = 0;
  DelayedServiceChoice delayedService_;
  int delayTickCounter_ = 0;
};

}  // namespace ui
