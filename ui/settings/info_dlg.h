#pragma once
// The "Information..." dialog: the driver's version, this utility's version with its build date
// and time, and the open adapter's MAC address.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/window/dialog.h"
#include "ui/settings/settings_services.h"

namespace ui::settings {

// The driver's version word as text: chip type 1 packs a year and a build letter pair into it,
// other chips four numbers. Empty for -1 (unknown).
std::u16string DriverVersionText(std::int32_t version, int chipType);

class CInfoDlg : public platform::window::Dialog {
 public:
  CInfoDlg(const StationSettingsServices& services, int opener);

  bool OnInitDialog() override;
  void OnDestroy() override;

 private:
  StationSettingsServices services_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
};

}  // namespace ui::settings
