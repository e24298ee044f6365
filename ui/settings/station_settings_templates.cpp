#include "ui/settings/station_settings_templates.h"

#include "ui/settings/advanced_template.h"
#include "ui/settings/info_template.h"
#include "ui/settings/more_settings_template.h"

namespace ui::settings {

void RegisterStationSettingsTemplates() {
  more_settings::RegisterMoreSettingsTemplate();
  advanced::RegisterAdvancedTemplate();
  information::RegisterInfoTemplate();
}

}  // namespace ui::settings
