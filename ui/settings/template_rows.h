#pragma once
// Shorthands for the rows of the settings dialogs' templates.

#include <cstdint>
#include <string>

#include "platform/window/dialog_template.h"

namespace ui::settings {

// The application icon every settings dialog shows.
inline constexpr int kAppIcon = 128;

inline platform::window::ControlTemplate Row(int id, platform::window::ControlKind kind,
                                             platform::window::DialogRect rect,
                                             std::u16string text = {}, std::uint32_t style = 0) {
  return {id, kind, rect, std::move(text), style, 0, 0};
}

inline platform::window::ControlTemplate Edit(int id, platform::window::DialogRect rect,
                                              int limit, std::uint32_t style = 0) {
  return {id, platform::window::ControlKind::Edit, rect, {}, style, limit, 0};
}

inline platform::window::ControlTemplate IconRow(int id, platform::window::DialogRect rect,
                                                 int icon) {
  return {id, platform::window::ControlKind::Picture, rect, {}, 0, 0, icon};
}

}  // namespace ui::settings
