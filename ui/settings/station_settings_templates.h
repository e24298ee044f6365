#pragma once
// Adds the templates of the More Settings, advanced settings and information dialogs to the
// program's registry.

namespace ui::settings {

void RegisterStationSettingsTemplates();

}  // namespace ui::settings
