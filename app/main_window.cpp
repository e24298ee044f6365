#include "app/main_window.h"

#include "ui/main/main_page_dlg.h"
#include "ui/main/main_page_template.h"
#include "ui/settings/station_settings_templates.h"

namespace app {

void ContextTray::AddIcon(int iconResource) {
  if (context_.trayIcon) (void)context_.trayIcon->AddIcon(iconResource);
}

void ContextTray::SetIcon(int iconResource) {
  if (context_.trayIcon) (void)context_.trayIcon->SetIcon(iconResource);
}

void ContextTray::RemoveIcon() {
  if (context_.trayIcon) (void)context_.trayIcon->RemoveIcon();
}

void ContextTray::SetMenuText(int item, std::u16string_view text) {
  if (context_.trayIcon) context_.trayIcon->SetMenuText(item - 1, text);
}

namespace {

// The window's services live as long as the window: built before it, destroyed after it.
struct MainWindowParts {
  explicit MainWindowParts(AppContext& c)
      : tray(c),
        services{c.store,   c.services.adapterLibrary, c.adapter,  c.radio,
                 c.services.clock, c.product,          tray,       c.supplicant,
                 c.services.language, c.dialogs,       c.startHidden, c.bluetoothUtility} {}
  ContextTray tray;
  ui::MainWindowServices services;
};

class AppMainWindow final : private MainWindowParts, public ui::CMainPageDlg {
 public:
  AppMainWindow(AppContext& context, const DelayedServiceChoice& delayed)
      : MainWindowParts(context),
        CMainPageDlg(services, delayed) {}
};

}  // namespace

std::unique_ptr<platform::window::Dialog> MakeMainWindow(AppContext& context,
                                                         const DelayedServiceChoice& delayed) {
  ui::main_page::RegisterMainPageTemplate();
  ui::settings::RegisterStationSettingsTemplates();
  return std::make_unique<AppMainWindow>(context, delayed);
}

}  // namespace app
