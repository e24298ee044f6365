#pragma once
// Template 156: the main window's layout in dialog units, as the resource file holds it.

#include "platform/window/dialog_template.h"

namespace ui::main_page {

platform::window::DialogTemplate MainPageTemplate();
// Adds the template to the program's registry (replacing an earlier one).
void RegisterMainPageTemplate();

}  // namespace ui::main_page
