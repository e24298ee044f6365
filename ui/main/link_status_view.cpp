#include "ui/main/link_status_view.h"

#include <algorithm>
#include <numeric>

#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/main_page_ids.h"

namespace ui {
namespace {

namespace id = main_page::id;
namespace texts = lang::texts;

// Fixed bounds of the list's strength column, whatever the product file says for the bars.
constexpr int kListMinDb = -105;
constexpr int kListMaxDb = -40;

// Network types of the driver.
constexpr int kAdHoc = 0;
constexpr int kInfrastructure = 1;
constexpr int kPseudoIbss = 3;

// Percentage of the mean of `ring` over `samples` within min..max. The mean is taken in whole
// numbers truncated toward zero, like the rest; 64-bit so that extreme product bounds cannot
// overflow. Equal bounds give 0; a mean outside the bounds (slots still empty or kept from a
// failed reading) is held to 0..100 so the text agrees with the bar.
int Percent(const std::array<int, LinkStatusView::kRingSize>& ring, int samples, int min,
            int max) {
  if (max == min || samples <= 0) return 0;
  const std::int64_t sum = std::accumulate(ring.begin(), ring.end(), std::int64_t{0});
  const std::int64_t percent =
      (sum / samples - min) * 100 / (static_cast<std::int64_t>(max) - min);
  return static_cast<int>(std::clamp<std::int64_t>(percent, 0, 100));
}

}  // namespace

std::u16string ListStrengthText(int dBm, bool showDbm) {
  if (showDbm) return platform::Format(u"%d dBm", dBm);
  const int held = std::clamp(dBm, kListMinDb, kListMaxDb);
  return platform::Format(u"%d%%", (held - kListMinDb) * 100 / (kListMaxDb - kListMinDb));
}

LinkStatusView::LinkStatusView(platform::window::Dialog& dialog,
                               const StationPanelServices& services)
    : dialog_(dialog), services_(services) {}

void LinkStatusView::ResetSignalAverages() {
  signalRing_.fill(0);
  qualityRing_.fill(0);
  ringIndex_ = 0;
  sampleCount_ = 0;
}

void LinkStatusView::ShowDisconnecting() {
  dialog_.SetText(id::LinkStatusText,
                  services_.language.LoadLangString(texts::MP_STA_Link_Status_Disconnecting));
}

void LinkStatusView::ShowTrayIcon(int index) {
  trayIconIndex_ = previousTrayIconIndex_ = index;
  if (services_.showTrayIcon) services_.showTrayIcon(index);
}

bool LinkStatusView::TakeIdleRate() {
  const bool idle = idleRate_ != 0;
  idleRate_ = 0;
  return idle;
}

void LinkStatusView::RefreshLinkStatus(bool scanPending) {
  if (scanPending) return;
  adapter::AdapterLibrary& driver = services_.driver;
  const lang::CMultiLanguage& language = services_.language;
  const int connectState = driver.QueryWL_ConnectState(services_.adapter);
  const int networkType = driver.QueryWL_NetworkType(services_.adapter);
  if (connectState == -1 || networkType == -1) return;

  bool connected = false;
  bool qualityShown = true;
  std::u16string status;
  if (connectState == 0) {
    connected = true;
    if (driver.QueryWL_IsWindows95() != 0 && services_.wasDisconnected.load() == 1) {
      services_.wasDisconnected.store(0);
      if (services_.renewAddresses) services_.renewAddresses();
    }
    connectingDots_ = 0;
    std::array<std::uint8_t, VZ_MAC_SIZE> bssid{};
    if (driver.QueryWL_BSSID(services_.adapter, bssid) == -1) bssid.fill(0);
    const std::u16string bssidText =
        config::WidenText(config::BytesToHexText(bssid.data(), bssid.size(), true));
    bool known = true;
    if (networkType == kAdHoc) {
      status = language.LoadLangString(texts::MP_STA_Link_Status_Con_Ad_Hoc);
    } else if (networkType == kInfrastructure) {
      status = language.LoadLangString(texts::MP_STA_Link_Status_Con_AP);
    } else if (networkType == kPseudoIbss && services_.product.pseudoIbssSupport == 1) {
      status = language.LoadLangString(texts::MP_STA_Link_Status_Con_PIBSS);
    } else {
      status = u"Unknown";
      known = false;
    }
    if (known && services_.product.showBssid != 0) {
      status = platform::Format(u"%s BSSID=%s", status, bssidText);
    }
  } else if (connectState == 1) {
    services_.wasDisconnected.store(1);
    trayIconIndex_ = main_page::tray_index::NotConnected;
    qualityShown = false;
    if (networkType == kAdHoc) {
      status = language.LoadLangString(texts::MP_STA_Link_Status_In_Ad_Hoc);
    } else {
      status = language.LoadLangString(texts::MP_STA_Link_Status_Connecting);
      for (int i = 0; i < connectingDots_; ++i) status += u"...";
      if (++connectingDots_ > kMaxConnectingDots) connectingDots_ = 0;
    }
  } else {
    return;
  }
  dialog_.SetText(id::LinkStatusText, status);

  if (connected) {
    if (!SampleAndShow()) qualityShown = false;
  } else {
    ResetSignalAverages();
  }
  for (int control : {id::SignalLabel, id::SignalText, id::SignalBar}) {
    dialog_.Show(control, connected);
  }
  for (int control : {id::QualityLabel, id::QualityText, id::QualityBar}) {
    dialog_.Show(control, qualityShown);
  }
  RefreshFrameCounters(connected);
  if (services_.product.trayIconAnimation == 1) AnimateTray(connected);
}

bool LinkStatusView::SampleAndShow() {
  const StationDisplayProduct& product = services_.product;
  const int signal = services_.driver.QueryWL_RSSI(services_.adapter);
  if (signal != -1) {
    int held = signal;
    if (held > product.strengthMaxDb) held = product.strengthMaxDb;
    if (held < product.strengthMinDb) held = product.strengthMinDb;
    signalRing_[static_cast<std::size_t>(ringIndex_)] = held;
  }
  const int quality = services_.driver.QueryWL_CommQuality(services_.adapter);
  if (quality != -1) {
    int held = quality;
    if (held < product.qualityMin) {
      held = product.qualityMin;
    } else if (held > product.qualityMax) {
      held = product.qualityMax;
    }
    qualityRing_[static_cast<std::size_t>(ringIndex_)] = held;
  }
  ringIndex_ = (ringIndex_ + 1) % kRingSize;
  sampleCount_ = std::min(sampleCount_ + 1, kRingSize);

  const int signalPercent =
      Percent(signalRing_, sampleCount_, product.strengthMinDb, product.strengthMaxDb);
  const int qualityPercent =
      Percent(qualityRing_, sampleCount_, product.qualityMin, product.qualityMax);
  dialog_.SetText(id::SignalText, platform::Format(u"%d%%", signalPercent));
  dialog_.SetText(id::QualityText, platform::Format(u"%d%%", qualityPercent));
  dialog_.ProgressSetPosition(id::SignalBar, signalPercent);
  dialog_.ProgressSetPosition(id::QualityBar, qualityPercent);
  return quality != -1;
}

void LinkStatusView::RefreshFrameCounters(bool connected) {
  for (int control : {id::TxFrameLabel, id::RxFrameLabel, id::TxFrameText, id::RxFrameText}) {
    dialog_.Show(control, connected);
  }
  if (!connected) return;
  std::uint32_t sent = 0, received = 0;
  if (services_.driver.GetTxRxFrameCount(services_.adapter, sent, received) == -1) return;
  dialog_.SetText(id::TxFrameText, platform::Format(u"%lu", sent));
  dialog_.SetText(id::RxFrameText, platform::Format(u"%lu", received));
  currentTraffic_ = std::uint64_t{sent} + received;
  currentSent_ = sent;
}

void LinkStatusView::AnimateTray(bool connected) {
  if (connected) {
    // Unsigned on purpose: the driver's counters and the limit wrap as 32-bit numbers.
    const std::uint32_t idleLimit =
        lastSent_ + static_cast<std::uint32_t>(services_.product.txRateShowMaxLimit);
    if (currentSent_ <= idleLimit) idleRate_ = 1;
    if (trayIconIndex_ == main_page::tray_index::NotConnected || currentTraffic_ != lastTraffic_) {
      trayIconIndex_ = trayIconIndex_ == kTrayConnectedA ? kTrayConnectedB : kTrayConnectedA;
      lastTraffic_ = currentTraffic_;
      lastSent_ = currentSent_;
    }
  } else {
    trayIconIndex_ = main_page::tray_index::NotConnected;
  }
  if (trayIconIndex_ != previousTrayIconIndex_) {
    if (services_.showTrayIcon) services_.showTrayIcon(trayIconIndex_);
    previousTrayIconIndex_ = trayIconIndex_;
  }
}

}  // namespace ui
