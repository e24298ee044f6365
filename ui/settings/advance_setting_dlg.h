#pragma once
// The "Advanced Setting..." dialog: power saving, the fragmentation and RTS/CTS thresholds, and
// the PSP XLink and WMM QoS switches. Every control acts at once through the appliers; opening
// already pushes both thresholds. The power mode and thresholds start from the driver's values,
// the two switches from the store.

#include <optional>

#include "platform/window/dialog.h"
#include "ui/settings/settings_services.h"

namespace ui::settings {

class CAdvanceSettingDlg : public platform::window::Dialog {
 public:
  CAdvanceSettingDlg(const StationSettingsServices& services, int opener);

  bool OnInitDialog() override;
  void OnCommand(int id, platform::window::CommandCode code) override;
  void OnHScroll(int id, int position) override;
  void OnDestroy() override;

  // The checked power radio button's index (0 CAM, 1 maximum, 2 fast saving); -1 when none.
  int PowerModeIndex() const { return powerModeIndex_; }

 private:
  void SetTexts();
  void ShowThreshold(int sliderId);
  void ShowThresholds();
  int CheckedPowerRadio() const;
  void OnPowerRadio();
  void ToggleSwitch(int checkId);

  StationSettingsServices services_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
  int powerModeIndex_ = 0;
};

}  // namespace ui::settings
