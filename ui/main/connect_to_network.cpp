// Connecting to the network selected in the survey list (double click, or "Connect this site").

#include <vector>

#include "lang/texts.h"
#include "platform/text/text.h"
#include "ui/main/main_page_dlg.h"
#include "ui/main/network_join.h"
#include "ui/security/dot1x_setting_dlg.h"
#include "ui/security/wep_setting_dlg.h"

namespace ui {
namespace {

namespace texts = lang::texts;

constexpr int kWzcControls = 1;

struct PromptTexts {
  const lang::TextKey& line1;
  const lang::TextKey& line2;
  const lang::TextKey& title;
};

PromptTexts TextsOf(SecurityPrompt prompt) {
  switch (prompt) {
    case SecurityPrompt::Wpa2:
      return {texts::MP_WPA2_Default_Message_Line_1, texts::MP_WPA2_Default_Message_Line_2,
              texts::MP_WPA2_Default_Message_Title};
    case SecurityPrompt::Wpa:
      return {texts::MP_WPA_Default_Message_Line_1, texts::MP_WPA_Default_Message_Line_2,
              texts::MP_WPA_Default_Message_Title};
    case SecurityPrompt::Wep:
      return {texts::MP_WEP_Default_Message_Line_1, texts::MP_WEP_Default_Message_Line_2,
              texts::MP_WEP_Default_Message_Title};
  }
  return {texts::MP_WEP_Default_Message_Line_1, texts::MP_WEP_Default_Message_Line_2,
          texts::MP_WEP_Default_Message_Title};
}

// The questions of a join, asked by the main window.
class MainWindowQuestions final : public JoinQuestions {
 public:
  MainWindowQuestions(platform::window::Dialog& window, const MainWindowServices& services,
                      const SecurityDialogServices& dialogs)
      : window_(window), services_(services), dialogs_(dialogs) {}

  bool UsePreviousSettings(SecurityPrompt prompt) override {
    const PromptTexts texts = TextsOf(prompt);
    const lang::CMultiLanguage& language = services_.language;
    const std::u16string text = platform::Format(u"%s\n%s\n", language.LoadLangString(texts.line1),
                                                 language.LoadLangString(texts.line2));
    return window_.MessageBox(
               text, language.LoadLangString(texts.title), platform::window::MessageButtons::YesNo,
               platform::window::MessageIcon::Question) == platform::window::MessageResult::Yes;
  }
  void EditWpaSettings() override {
    CDot1xSettingDlg dialog(dialogs_, dialog_number::Main);
    (void)dialog.DoModal();
    services_.dialogs.SetActiveDialogNumber(dialog_number::Main);
  }
  void EditWepKeys() override {
    CWepSettingDlg dialog(dialogs_, dialog_number::Main);
    (void)dialog.DoModal();
    services_.dialogs.SetActiveDialogNumber(dialog_number::Main);
  }

 private:
  platform::window::Dialog& window_;
  const MainWindowServices& services_;
  const SecurityDialogServices& dialogs_;
};

}  // namespace

void CMainPageDlg::ConnectToSelectedNetwork() {
  if (wzcState_ == kWzcControls) return;
  link_.ShowDisconnecting();
  StopSupplicant();
  link_.ClearConnectingDots();

  const int mark = ListSelectionMark(main_page::id::List);
  if (mark < 0) return;
  // The join reads the entry from its own copy: no later scan result can pull the bytes away
  // while prompts and dialogs run.
  const std::vector<std::uint8_t> survey(survey_.SurveyBuffer().begin(),
                                         survey_.SurveyBuffer().end());
  const std::vector<adapter::SurveyEntry> entries = adapter::ReadSurveyList(survey);
  if (static_cast<std::size_t>(mark) >= entries.size()) return;

  // No polling while the user answers prompts and dialogs.
  KillTimer(main_page::kRefreshTimer);
  const config::ApplierContext appliers{services_.driver, services_.adapter.handle, services_.store,
                                        services_.radio};
  const SecurityDialogServices dialogServices{
      appliers,
      services_.supplicant,
      services_.language,
      services_.dialogs,
      {services_.product.enableWep256, services_.product.rc4WepSupport},
      services_.supplicantLibrary,
      {}};
  MainWindowQuestions questions(*this, services_, dialogServices);
  const JoinSwitches switches{services_.product.wpaMode != 0, services_.product.wpa2Mode != 0,
                              services_.product.rc4WepSupport != 0};
  JoinSurveyedNetwork(appliers, services_.supplicant, questions, switches,
                      entries[static_cast<std::size_t>(mark)]);

  ResetSignalAverages();
  SetTimer(main_page::kRefreshTimer, RefreshPeriod());
  SetPanelLabels(PanelMode::CurrentNetwork);
  RefreshLinkStatus();
  survey_.ClearSelectedView();
}

}  // namespace ui
