#pragma once
// A notification-area icon that shows nothing: it records what the program set and lets tests
// and the automation mode act as the user's mouse.

#include <deque>
#include <nlohmann/json.hpp>

#include "platform/window/backend.h"

namespace platform::window::headless {

class HeadlessTray final : public Tray {
 public:
  static constexpr std::size_t kTipLength = 127;

  bool Supported() const override { return supported_; }
  bool Add(int iconResource, std::u16string_view tip, TrayListener* listener) override;
  bool SetIcon(int iconResource) override;
  bool SetTip(std::u16string_view tip) override;
  bool Remove() override;
  // Records the menu and answers the command queued by ChooseFromNextMenu, else 0 (dismissed).
  int TrackMenu(const std::vector<TrayMenuItem>& items, int defaultCommand) override;

  // ---- what the user does
  // Sends a mouse event to the listener; false when no icon is shown.
  bool SendMouse(TrayMouse event);
  // The next TrackMenu returns `command` (once).
  void ChooseFromNextMenu(int command) { choices_.push_back(command); }
  void ForgetChoices() { choices_.clear(); }
  // The notification area was re-created: every icon is gone until added again.
  void ShellRestarted() { shown_ = false; }
  // A desktop without a notification area.
  void SetSupported(bool supported) { supported_ = supported; }

  // ---- what the program set
  bool Shown() const { return shown_; }
  int Icon() const { return icon_; }
  const std::u16string& Tip() const { return tip_; }
  const std::vector<TrayMenuItem>& LastMenu() const { return menu_; }
  int LastMenuDefault() const { return menuDefault_; }
  int MenusShown() const { return menusShown_; }
  nlohmann::json Dump() const;

 private:
  bool shown_ = false;
  bool supported_ = true;
  int icon_ = 0;
  std::u16string tip_;
  TrayListener* listener_ = nullptr;
  std::vector<TrayMenuItem> menu_;
  int menuDefault_ = 0;
  int menusShown_ = 0;
  std::deque<int> choices_;
};

}  // namespace platform::window::headless
