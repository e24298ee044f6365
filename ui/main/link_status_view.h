#pragma once
// The link area of the main window in station mode: link status text, signal strength and link
// quality averaged over the last six ticks (percent texts and bars), the frame counters, and the
// tray icon following the traffic. It also owns the tray icon index, which the main window sets
// directly for the access point and hand-over pictures.

#include <array>
#include <cstdint>
#include <string>

#include "platform/window/dialog.h"
#include "ui/main/main_page_ids.h"
#include "ui/main/station_panel_services.h"

namespace ui {

// Strength column of the network list for a signal of `dBm`: "%d dBm" with `showDbm`, else the
// percentage of -105..-40 dBm (values outside held at the bounds).
std::u16string ListStrengthText(int dBm, bool showDbm);

class LinkStatusView {
 public:
  static constexpr int kRingSize = 6;
  static constexpr int kMaxConnectingDots = 18;
  // Tray icon indexes of a connected link: the two pictures of the traffic animation.
  static constexpr int kTrayConnectedA = 0;
  static constexpr int kTrayConnectedB = 1;

  LinkStatusView(platform::window::Dialog& dialog, const StationPanelServices& services);

  // One refresh of the link area; does nothing while a scan is pending.
  void RefreshLinkStatus(bool scanPending);
  // Empties both rings; the next samples start a new average.
  void ResetSignalAverages();
  // Status text while a connection is being configured.
  void ShowDisconnecting();
  // The "Connecting..." dots start again without groups.
  void ClearConnectingDots() { connectingDots_ = 0; }

  // Sets the tray icon index and the previous index to `index` and shows that picture.
  void ShowTrayIcon(int index);
  int TrayIconIndex() const { return trayIconIndex_; }
  // The idle-rate flag: true when the link was idle since the last icon change. Reading it
  // clears it (the transmit-rate display consumes it).
  bool TakeIdleRate();

  // ---- state, for tests
  int ConnectingDots() const { return connectingDots_; }
  int SampleCount() const { return sampleCount_; }
  int RingIndex() const { return ringIndex_; }
  const std::array<int, kRingSize>& SignalRing() const { return signalRing_; }
  const std::array<int, kRingSize>& QualityRing() const { return qualityRing_; }
  bool IdleRate() const { return idleRate_ != 0; }

 private:
  // Samples signal and quality and shows their averages; false when quality was unreadable.
  bool SampleAndShow();
  void RefreshFrameCounters(bool connected);
  void AnimateTray(bool connected);

  platform::window::Dialog& dialog_;
  StationPanelServices services_;

  int connectingDots_ = 0;
  int trayIconIndex_ = main_page::tray_index::NotConnected;
  int previousTrayIconIndex_ = main_page::tray_index::NotConnected;
  // Frame counters for the tray animation and the idle-rate flag.
  std::uint64_t currentTraffic_ = 0, lastTraffic_ = 0;
  std::uint32_t currentSent_ = 0, lastSent_ = 0;
  int idleRate_ = 0;
  std::array<int, kRingSize> signalRing_{};
  std::array<int, kRingSize> qualityRing_{};
  int ringIndex_ = 0;
  int sampleCount_ = 0;
};

}  // namespace ui
