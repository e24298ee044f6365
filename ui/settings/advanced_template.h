#pragma once
// Template 159: the advanced settings dialog's layout in dialog units.

#include "platform/window/dialog_template.h"

namespace ui::settings::advanced {

platform::window::DialogTemplate AdvancedTemplate();
void RegisterAdvancedTemplate();

}  // namespace ui::settings::advanced
