// The profile box and its Load, Save Current and Delete buttons. A refused name changes nothing
// but the message; after a profile action the controls show the stored values again.
#include "config/profile_actions.h"
#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/settings/basic_setting_dlg.h"
#include "ui/settings/more_settings_ids.h"

namespace ui::settings {

using namespace more_settings;
using platform::window::MessageButtons;
using platform::window::MessageIcon;
namespace texts = lang::texts;

namespace {

// The profile box is read into a buffer of this many characters.
constexpr std::size_t kProfileBoxCapacity = 200;

}  // namespace

void CBasicSettingDlg::FillProfileBox() {
  ComboReset(id::ProfileBox);
  for (const std::u16string& name : profiles_.ProfileNames()) ComboAdd(id::ProfileBox, name);
}

std::u16string CBasicSettingDlg::ProfileName() const {
  return GetText(id::ProfileBox).substr(0, kProfileBoxCapacity - 1);
}

void CBasicSettingDlg::ShowProfileMessage(std::u16string_view text) {
  MessageBox(text, Text(texts::BS_P_Profile_Title), MessageButtons::Ok, MessageIcon::Exclamation);
}

void CBasicSettingDlg::ShowProfileNotFound(std::u16string_view name) {
  ShowProfileMessage(platform::Format(u"%s: \"%s\".", Text(texts::BS_P_Not_Found_Profile), name));
}

void CBasicSettingDlg::OnLoadProfile() {
  const std::u16string name = ProfileName();
  // A blank name names no profile; say what is missing rather than that nothing was found.
  if (platform::Trim(name).empty()) {
    ShowProfileMessage(Text(texts::BS_P_Profile_Name_Empty));
    return;
  }
  if (config::LoadProfile(profiles_, Appliers(services_), {services_.clock, services_.supplicant}, name) !=
      0) {
    ShowProfileNotFound(name);
    return;
  }
  ReloadAfterProfileAction();
}

void CBasicSettingDlg::OnSaveProfile() {
  const std::u16string name = ProfileName();
  if (platform::Trim(name).empty()) {
    ShowProfileMessage(Text(texts::BS_P_Profile_Name_Empty));
    return;
  }
  if (!config::IsStorableProfileName(name)) {
    ShowProfileMessage(Text(texts::BS_P_Profile_Name_Invalid));
    return;
  }
  (void)config::SaveCurrentAsProfile(profiles_, services_.store, name);
  FillProfileBox();
  ReloadAfterProfileAction();
}

void CBasicSettingDlg::OnDeleteProfile() {
  const std::u16string name(platform::Trim(ProfileName()));
  if (name.empty()) {
    ShowProfileMessage(Text(texts::BS_P_Profile_Name_Empty));
    return;
  }
  const bool deleted = profiles_.DeleteProfile(name) == 0;
  if (!deleted) ShowProfileNotFound(name);
  FillProfileBox();
  if (deleted) ReloadAfterProfileAction();
}

}  // namespace ui::settings
