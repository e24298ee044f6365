#pragma once
// The notification-area icon on QSystemTrayIcon.

#include <QSystemTrayIcon>
#include <memory>
#include <vector>

#include "platform/window/backend.h"

namespace platform::window {

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
