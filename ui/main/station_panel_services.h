#pragma once
// What the station panels of the main window (link status, current network, site survey) reach
// outside the window's controls. The main window fills one of these and hands it to each panel;
// the panels keep a copy, so the references must outlive them.

#include <atomic>
#include <functional>

#include "adapter/adapter_library.h"
#include "config/setting_store.h"
#include "lang/multi_language.h"

namespace ui {

// The product-file values the panels follow, copied from the product configuration.
struct StationDisplayProduct {
  int showBssid = 0;           // "Show_BSSID": connected status text followed by the BSSID
  int showDbm = 0;             // "Show_dBm": list strength in dBm instead of percent
  int pseudoIbssSupport = 1;   // "PseudoIBSSSupport"
  int trayIconAnimation = 1;   // "TrayIconAnimation": the link status drives the tray icon
  int txRateShowMaxLimit = 0;  // "TxRateShowMaxLimit": frames per tick still counted as idle
  int txRateAutoShowMax = 0;   // "TxRateAutoShowMax": an idle link shows the fastest rate
  int debugMode = 0;           // "DebugMode": encryption field shows queried and stored status
  int enableAccessPoint = 0;   // "EnableAccessPoint": the mode box may be used
  int strengthMinDb = -105;    // "QVStrengthMin_dB", not above the maximum
  int strengthMaxDb = -40;     // "QVStrengthMax_dB"
  int qualityMin = 0;          // "QVQualityMin", not above the maximum
  int qualityMax = 100;        // "QVQualityMax"
};

struct StationPanelServices {
  adapter::AdapterLibrary& driver;
  adapter::AdapterHandle& adapter;    // handle record of the open adapter
  // `OperationMode`, and "SSID" and "WEPStatus" of the current mode's tree.
  const config::SettingStore& store;
  const lang::CMultiLanguage& language;
  StationDisplayProduct product;
  // `WasDisconnected` (config::RadioState): set here whenever the link is seen down.
  std::atomic<int>& wasDisconnected;
  // Called on the older system family when the link comes back after a disconnection: starts
  // the address-renewal worker unless one runs already.
  std::function<void()> renewAddresses;
  // Shows tray picture `index` (0, 1 connected; 2 not connected; 3 access point; 4 hand-over).
  std::function<void(int index)> showTrayIcon;
};

}  // namespace ui
