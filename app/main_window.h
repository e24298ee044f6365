#pragma once
// The application's main window over the application context: the window's services are the
// context's objects, and the tray it drives is the context's tray icon.

#include <memory>
#include <string_view>

#include "app/app_context.h"
#include "app/command_switches.h"
#include "platform/window/dialog.h"
#include "ui/main/main_window_services.h"

namespace app {

// The tray icon as the main window drives it; menu entries 1 to 3 are the icon's positions 0 to
// 2. Does nothing while the context has no tray icon.
class ContextTray final : public ui::MainWindowTray {
 public:
  explicit ContextTray(AppContext& context) : context_(context) {}
  void AddIcon(int iconResource) override;
  void SetIcon(int iconResource) override;
  void RemoveIcon() override;
  void SetMenuText(int item, std::u16string_view text) override;

 private:
  AppContext& context_;
};

// Start-up's main window factory: template 156 registered and a window made over `context`.
std::unique_ptr<platform::window::Dialog> MakeMainWindow(AppContext& context,
                                                         const DelayedServiceChoice& delayed);

}  // namespace app
