#pragma once
// The WEP key information dialog (template 196): why a typed key was refused, with the lengths
// each key size needs. Opened by the WEP key dialog; its OK button closes it.

#include <optional>

#include "platform/window/dialog.h"
#include "ui/security/security_dialog_services.h"

namespace ui {

class CWepInfoDlg : public platform::window::Dialog {
 public:
  CWepInfoDlg(const SecurityDialogServices& services, int opener);

  bool OnInitDialog() override;
  void OnDestroy() override;

 private:
  const SecurityDialogServices& services_;
  int opener_;
  std::optional<DialogChain::Registration> registration_;
};

}  // namespace ui
