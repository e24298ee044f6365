#pragma once
// The site survey in station mode: starting a scan, fetching its results a few ticks later into
// the survey buffer, the list of available networks with their strength, and the selected-entry
// view of the information panel. The window's own operations (panel labels, dialogs, the connect
// procedure, the station list of access-point mode) are reached through SiteSurveyActions.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "adapter/survey_list.h"
#include "platform/window/dialog.h"
#include "ui/main/station_panel_services.h"

namespace ui {

// Channel of a frequency in kHz (2.4 GHz band, 4 GHz and 5 GHz bands); none for others.
std::optional<int> ChannelFromFrequency(std::uint32_t kilohertz);

struct SiteSurveyActions {
  // SetPanelLabels: 0 current network, 1 selected network.
  std::function<void(int panelMode)> setPanelLabels;
  std::function<void()> refreshLinkStatus;
  // "Refresh" in access-point mode.
  std::function<void()> refreshStationList;
  // Panel button in access-point mode: the access point settings dialog, with the refresh timer
  // stopped meanwhile and the access-point panel refreshed after.
  std::function<void()> openAccessPointSettings;
  // Panel button in station mode: the "More Settings" dialog.
  std::function<void()> openMoreSettings;
  // Double-click on an entry, or the panel button of the selected view.
  std::function<void()> connectToSelectedNetwork;
  // Who controls the adapter: 1 while the operating system's service does.
  std::function<int()> wzcState;
};

class SiteSurvey {
 public:
  static constexpr int kScanWaitTicks = 4;
  static constexpr int kSelectedViewTicks = 8;

  SiteSurvey(platform::window::Dialog& dialog, const StationPanelServices& services,
             SiteSurveyActions actions);

  void StartSiteSurvey();
  void RetrieveSurveyResults();
  void FillNetworkList();
  void SetScanState(bool enabled);
  void ShowSelectedNetwork();

  // ---- handlers
  void OnRefresh();          // button 1179
  void OnPanelButton();      // button 1180
  int OnListClick();         // NM_CLICK on 1243; the notification's result
  int OnListDoubleClick();   // NM_DBLCLK on 1243

  // ---- the timer's station steps, in this order
  // Counts the scan down; fetches the results on the first tick that finds no ticks left.
  void TickScan();
  // Counts the selected view down and returns the panel to the current network when it ends.
  // True when the current network is to be refreshed (no entry was shown as the tick began).
  bool TickSelectedView();

  // A switch to access-point mode drops a pending scan.
  void CancelScan() { scanPending_ = 0, scanWaitTicks_ = 0; }
  void ClearSelectedView() { selectedView_ = 0; }

  bool ScanPending() const { return scanPending_ != 0; }
  int ScanWaitTicks() const { return scanWaitTicks_; }
  bool SelectedView() const { return selectedView_ != 0; }
  int SelectedViewTicks() const { return selectedViewTicks_; }
  // The last scan result as the driver wrote it.
  std::span<const std::uint8_t> SurveyBuffer() const { return buffer_; }
  // The entry at the list's selection mark, the first one without a mark; none when the list
  // has no such entry.
  std::optional<adapter::SurveyEntry> SelectedEntry() const;

 private:
  bool StationMode() const;

  platform::window::Dialog& dialog_;
  StationPanelServices services_;
  SiteSurveyActions actions_;
  int scanPending_ = 0;
  int scanWaitTicks_ = 0;
  int selectedView_ = 0;
  int selectedViewTicks_ = 0;
  // Count 0 until the first scan result arrives.
  std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(adapter::kSurveyBufferSize, 0);
};

}  // namespace ui
