#pragma once
// The notification-area icon on QSystemTrayIcon.

#include <QPoint>
#include <QSystemTrayIcon>
#include <memory>
#include <vector>

#include "platform/window/backend.h"

namespace platform::window {

// Shows a popup menu at `at` with the entry of `defaultCommand` in bold; returns the chosen
// entry's command, 0 when the menu was dismissed.
int PopupMenu(const std::vector<TrayMenuItem>& items, int defaultCommand, QPoint at);

// The listener's mouse events for one activation of the icon.
std::vector<TrayMouse> TrayMouseEvents(QSystemTrayIcon::ActivationReason reason);

class QtTray : public Tray {
 public:
  QtTray() = default;
  ~QtTray() override;

  bool Supported() const override;
  bool Add(int iconResource, std::u16string_view tip, TrayListener* listener) override;
  bool SetIcon(int iconResource) override;
  bool SetTip(std::u16string_view tip) override;
  bool Remove() override;
  int TrackMenu(const std::vector<TrayMenuItem>& items, int defaultCommand) override;


 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  TrayListener* listener_ = nullptr;
};

}  // namespace platform::window
