// The mode box: switching the adapter between station and access point.

#include "config/setting_keys.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/main_page_dlg.h"

namespace ui {

using namespace main_page;

void CMainPageDlg::OnModeSelected() {
  const int mode = ComboSelection(id::ModeBox);
  if (mode < 0 || mode == OperationMode() || mode > config::kAccessPointMode) return;
  Enable(id::ModeBox, false);

  config::SettingStore& store = services_.store;
  store.SetOperationMode(mode);
  (void)store.WriteAppText(store.ChipValue(config::app_value::OperationMode),
                           platform::Format(u"%d", mode));

  const bool accessPoint = mode == config::kAccessPointMode;
  if (accessPoint) {
    apTicks_ = 0;
    survey_.CancelScan();  // its results are never fetched
    SetText(id::RefreshButton, u"");
    Enable(id::RefreshButton, false);
    link_.ShowTrayIcon(tray_index::AccessPoint);
  } else {
    SetText(id::RefreshButton, Text(lang::texts::MP_STA_Net_List_Refresh));
    Enable(id::RefreshButton, true);
    link_.ShowTrayIcon(tray_index::NotConnected);
  }
  // In station mode the list shows the last scan again until "Refresh" is pressed.
  SetWindowTexts();

  if (services_.driver.SetWL_OperationMode_STA_AP(services_.adapter.handle, mode) == -1) {
    // The program cannot go on in a mode the adapter does not run; it says so before it ends.
    (void)MessageBox(Text(lang::texts::MP_STA_AP_Mode_Switch_Refused), Caption(),
                     platform::window::MessageButtons::Ok,
                     platform::window::MessageIcon::Exclamation);
    EndDialog(0);
  }
  services_.clock.Sleep(kModeSwitchSettle);
  RestoreStoredConfiguration();

  if (accessPoint) {
    RefreshApPanel();
    StartBridgeProgram();
    Show(id::PanelButton, true);
    Enable(id::PanelButton, true);
  } else {
    services_.clock.Sleep(kStationModeSettle);
  }
  Enable(id::ModeBox, true);
}

}  // namespace ui
