#pragma once
// The "Current Network Information" panel in station mode: channel, network type, SSID, transmit
// rate and encryption of the open adapter, refreshed every tick while no list entry is shown.
// A query that fails leaves its field as it was.

#include "platform/window/dialog.h"
#include "ui/main/link_status_view.h"
#include "ui/main/station_panel_services.h"

namespace ui {

class CurrentNetworkPanel {
 public:
  // `link` owns the idle-rate flag that the rate field consumes.
  CurrentNetworkPanel(platform::window::Dialog& dialog, const StationPanelServices& services,
                      LinkStatusView& link);

  void RefreshCurrentNetwork();

 private:
  void ShowNetworkType();
  void ShowSsid(int connectState);
  void ShowRate();
  void ShowEncryption();

  platform::window::Dialog& dialog_;
  StationPanelServices services_;
  LinkStatusView& link_;
};

}  // namespace ui
