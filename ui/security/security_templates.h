#pragma once
// The templates of the WEP key dialog (157), the WEP key information dialog (196) and the WPA
// dialog (195).

#include "platform/window/dialog_template.h"

namespace ui::security_dialogs {

platform::window::DialogTemplate WepSettingTemplate();
platform::window::DialogTemplate WepInfoTemplate();
platform::window::DialogTemplate Dot1xSettingTemplate();

// Adds the three to the program's templates (again: the same ones replace themselves).
void RegisterSecurityTemplates();
// `templateId` of one of the three, once they are registered: what the dialogs are made with.
int RegisteredTemplate(int templateId);

}  // namespace ui::security_dialogs
