// The panel button in station mode opens More Settings; the refresh timer keeps running.
#include "ui/main/main_page_dlg.h"
#include "ui/settings/basic_setting_dlg.h"

namespace ui {

void CMainPageDlg::OpenMoreSettings() {
  const app::ProductConfig& product = services_.product;
  const settings::StationSettingsServices settingsServices{
      services_.store,
      services_.driver,
      services_.adapter,
      services_.radio,
      services_.clock,
      services_.supplicant,
      services_.language,
      services_.dialogs,
      {product.wpaMode, product.wpa2Mode, product.pseudoIbssSupport},
      {},
      {}};
  settings::CBasicSettingDlg moreSettings(settingsServices, dialog_number::Main);
  moreSettings.DoModal();
  services_.dialogs.SetActiveDialogNumber(dialog_number::Main);
}

}  // namespace ui
