#pragma once
// What the WEP key, WEP key information and WPA dialogs reach outside themselves. Each opener
// (the main window, More Settings, the access point dialog) fills one from its own services;
// the references must outlive the dialogs.

#include <functional>

#include "config/appliers.h"
#include "config/supplicant_control.h"
#include "lang/multi_language.h"
#include "security/supplicant_library.h"
#include "ui/common/dialog_chain.h"

namespace ui {

// The product file's switches the security dialogs follow.
struct SecurityProductSwitches {
  int enableWep256 = 0;   // "Enable_WEP256": 256-bit WEP keys are offered
  int rc4WepSupport = 0;  // "RC4WEPSupport": WEP keys may come from 802.1X authentication
};

struct SecurityDialogServices {
  // Driver, adapter, the setting trees (the current mode's is used) and the radio state.
  config::ApplierContext appliers;
  config::SupplicantControl& supplicant;
  const lang::CMultiLanguage& language;
  DialogChain& dialogs;
  SecurityProductSwitches product;
  // The loaded supplicant library, for the user's certificates; null lists none.
  security::SupplicantLibrary* certificates = nullptr;
  // Makes the adapter drop its association and associate anew with the stored settings; the
  // WPA dialog runs it when More Settings opened it. Empty: nothing to do.
  std::function<void()> forceReassociation;
};

}  // namespace ui
