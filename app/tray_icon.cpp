#include "app/tray_icon.h"

namespace app {

using platform::window::TrayMouse;

CTrayIcon::CTrayIcon(platform::window::Tray& tray) : tray_(tray), enabled_(tray.Supported()) {}

CTrayIcon::~CTrayIcon() { Destroy(); }

int CTrayIcon::Create(std::u16string_view tip, int icon, int iconId, int defaultItem,
                      bool byPosition) {
  if (!enabled_) return 0;
  iconId_ = iconId;
  icon_ = icon;
  tip_ = tip;
  const bool added = tray_.Add(icon_, tip_, &listener_);
  defaultItem_ = defaultItem;
  defaultByPosition_ = byPosition;
  return added ? 1 : 0;
}

int CTrayIcon::AddIcon(int icon) {
  if (!enabled_) return 0;
  icon_ = icon;
  return tray_.Add(icon_, tip_, &listener_) ? 1 : 0;
}

int CTrayIcon::SetIcon(int icon) {
  if (!enabled_) return 0;
  icon_ = icon;
  return tray_.SetIcon(icon) ? 1 : 0;
}

int CTrayIcon::SetTip(std::u16string_view tip) {
  if (!enabled_) return 0;
  tip_ = tip;
  return tray_.SetTip(tip_) ? 1 : 0;
}

int CTrayIcon::RemoveIcon() {
  if (!enabled_) return 0;
  return tray_.Remove() ? 1 : 0;
}

void CTrayIcon::Destroy() {
  if (!enabled_) return;
  (void)tray_.Remove();  // refused when it was not shown, which is what we want anyway
  enabled_ = false;
}

CConfigTrayIcon::CConfigTrayIcon(platform::window::Tray& tray,
                                 std::function<platform::window::Dialog*()> mainWindow)
    : CTrayIcon(tray), mainWindow_(std::move(mainWindow)) {}

void CConfigTrayIcon::SetMenuText(int position, std::u16string_view text) {
  if (position < 0 || position >= static_cast<int>(menuTexts_.size())) return;
  menuTexts_[static_cast<std::size_t>(position)] = text;
}

const std::u16string& CConfigTrayIcon::MenuText(int position) const {
  static const std::u16string kNone;
  if (position < 0 || position >= static_cast<int>(menuTexts_.size())) return kNone;
  return menuTexts_[static_cast<std::size_t>(position)];
}

// 0 when the default names no entry of the menu.
int CConfigTrayIcon::DefaultCommand() const {
  if (!defaultByPosition_) return defaultItem_;
  if (defaultItem_ < 0 || defaultItem_ >= static_cast<int>(kTrayMenuCommands.size())) return 0;
  return kTrayMenuCommands[static_cast<std::size_t>(defaultItem_)];
}

void CConfigTrayIcon::OnMouse(TrayMouse event) {
  platform::window::Dialog* main = mainWindow_();
  switch (event) {
    case TrayMouse::RightUp: {
      if (main == nullptr) return;
      main->BringToForeground();
      std::vector<platform::window::TrayMenuItem> items;
      for (std::size_t i = 0; i < kTrayMenuCommands.size(); ++i) {
        items.push_back({kTrayMenuCommands[i], menuTexts_[i]});
      }
      // The menu's owner is the main window: the chosen entry reaches it as a command.
      const int chosen = Shell().TrackMenu(items, DefaultCommand());
      if (chosen != 0) main->PostCommand(chosen);
      return;
    }
    case TrayMouse::LeftDoubleClick:
      doubleClickSeen_ = true;
      return;
    case TrayMouse::LeftUp:
      // Only the release that ends a double click opens; a single click does nothing.
      if (!doubleClickSeen_) return;
      doubleClickSeen_ = false;
      if (main == nullptr) return;
      main->BringToForeground();
      if (const int command = DefaultCommand(); command != 0) main->PostCommand(command);
      return;
  }
}

}  // namespace app
