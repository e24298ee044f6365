#pragma once
// The main window in access point mode: the information panel shows the stored access point
// configuration (repairing, on the driver and in the store, values the access point cannot run
// with) and the list shows the stations associated with the soft access point.

#include "config/appliers.h"
#include "lang/multi_language.h"
#include "platform/window/dialog.h"

namespace ui {

class AccessPointPanel {
 public:
  AccessPointPanel(platform::window::Dialog& dialog, const config::ApplierContext& appliers,
                   const lang::CMultiLanguage& language);

  // Channel, SSID, WEP and transmit power from the access point tree.
  void RefreshApPanel();
  // The driver's station list, one row per station in use; a failed query keeps the rows.
  void RefreshStationList();

 private:
  void ShowChannel();
  void ShowSsid();
  void ShowEncryption();
  void ShowTxPower();

  platform::window::Dialog& dialog_;
  config::ApplierContext appliers_;
  const lang::CMultiLanguage& language_;
};

}  // namespace ui
