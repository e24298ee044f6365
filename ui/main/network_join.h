#pragma once
// Configuring the adapter for one entry of the survey list: its channel, band, BSSID and SSID,
// then its security by the elements it announces (network type, authentication, encryption),
// asking whether the stored security settings are to be used, and finally the transmit rates.
// Every push goes through the setting appliers; a refused push is not examined and the next
// step runs regardless.

#include "adapter/survey_list.h"
#include "config/appliers.h"
#include "config/supplicant_control.h"

namespace ui {

enum class SecurityPrompt { Wpa2, Wpa, Wep };

// What joining asks of the user; the main window answers with message boxes and dialogs.
class JoinQuestions {
 public:
  virtual ~JoinQuestions() = default;
  // True when the user wants the stored settings of that kind.
  virtual bool UsePreviousSettings(SecurityPrompt prompt) = 0;
  // The WPA dialog, to type a pass phrase or 802.1X credentials.
  virtual void EditWpaSettings() = 0;
  // The WEP key dialog.
  virtual void EditWepKeys() = 0;
};

// The product file's switches that decide how a network is joined.
struct JoinSwitches {
  bool wpaMode = false;        // "WPAMode": WPA networks are joined as such
  bool wpa2Mode = false;       // "WPA2Mode": WPA2 networks are joined as such
  bool rc4WepSupport = false;  // "RC4WEPSupport": WEP keys may come from 802.1X
};

// The supplicant must already be stopped; it is started again when the network's security
// needs it.
void JoinSurveyedNetwork(const config::ApplierContext& context,
                         config::SupplicantControl& supplicant, JoinQuestions& questions,
                         const JoinSwitches& switches, const adapter::SurveyEntry& entry);

}  // namespace ui
