#pragma once
// Template 130: the More Settings dialog's layout in dialog units.

#include "platform/window/dialog_template.h"

namespace ui::settings::more_settings {

platform::window::DialogTemplate MoreSettingsTemplate();
// Adds the template to the program's registry (replacing an earlier one).
void RegisterMoreSettingsTemplate();

}  // namespace ui::settings::more_settings
