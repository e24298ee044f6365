#include "platform/window/headless/tray.h"

#include "platform/text/text.h"

namespace platform::window::headless {

bool HeadlessTray::Add(int iconResource, std::u16string_view tip, TrayListener* listener) {
  if (shown_) return false;  // the shell refuses a second add of the same icon
  shown_ = true;
  icon_ = iconResource;
  tip_ = platform::CutUtf16(tip, kTipLength);
  listener_ = listener;
  return true;
}

bool HeadlessTray::SetIcon(int iconResource) {
  if (!shown_) return false;
  icon_ = iconResource;
  return true;
}

bool HeadlessTray::SetTip(std::u16string_view tip) {
  if (!shown_) return false;
  tip_ = platform::CutUtf16(tip, kTipLength);
  return true;
}

bool HeadlessTray::Remove() {
  if (!shown_) return false;
  shown_ = false;
  return true;
}

int HeadlessTray::TrackMenu(const std::vector<TrayMenuItem>& items, int defaultCommand) {
  menu_ = items;
  menuDefault_ = defaultCommand;
  ++menusShown_;
  if (choices_.empty()) return 0;
  const int command = choices_.front();
  choices_.pop_front();
  return command;
}

bool HeadlessTray::SendMouse(TrayMouse event) {
  if (!shown_ || listener_ == nullptr) return false;
  listener_->OnTrayMouse(event);
  return true;
}

nlohmann::json HeadlessTray::Dump() const {
  nlohmann::json menu = nlohmann::json::array();
  for (const TrayMenuItem& item : menu_) {
    menu.push_back({{"command", item.command},
                    {"text", platform::ToUtf8(item.text)},
                    {"default", item.command == menuDefault_}});
  }
  return {{"shown", shown_},
          {"icon", icon_},
          {"tip", platform::ToUtf8(tip_)},
          {"menusShown", menusShown_},
          {"lastMenu", std::move(menu)}};
}

}  // namespace platform::window::headless
