#include "ui/security/wep_info_dlg.h"

#include "lang/texts.h"
#include "ui/security/security_dialog_ids.h"
#include "ui/security/security_templates.h"

namespace ui {

namespace texts = lang::texts;
using namespace security_dialogs;

CWepInfoDlg::CWepInfoDlg(const SecurityDialogServices& services, int opener)
    : Dialog(RegisteredTemplate(wep_info_template::Id)), services_(services), opener_(opener) {}

bool CWepInfoDlg::OnInitDialog() {
  registration_.emplace(services_.dialogs, dialog_number::WepKeyInformation, *this, opener_);
  const lang::CMultiLanguage& language = services_.language;
  SetCaption(language.LoadLangString(texts::WS_INFO_Dialog_Title) + u"  ");
  const lang::TextKey* lines[] = {&texts::WS_ERROR_MESSAGE1, &texts::WS_ERROR_MESSAGE2,
                                  &texts::WS_ERROR_MESSAGE3, &texts::WS_ERROR_MESSAGE4};
  for (int line = 0; line < 4; ++line) {
    SetText(wep_info_id::Lines[line], language.LoadLangString(*lines[line]));
  }
  SetText(platform::window::IdOk, language.LoadLangString(texts::WS_INFO_Button_OK));
  return true;
}

void CWepInfoDlg::OnDestroy() { registration_.reset(); }

}  // namespace ui
