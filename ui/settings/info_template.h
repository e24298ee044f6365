#pragma once
// Template 161: the information dialog's layout in dialog units.

#include "platform/window/dialog_template.h"

namespace ui::settings::information {

platform::window::DialogTemplate InfoTemplate();
void RegisterInfoTemplate();

}  // namespace ui::settings::information
