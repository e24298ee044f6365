#include "app/stub_main_dlg.h"

#include <string>

#include "app/config_app.h"
#include "platform/text/text.h"

namespace app {

using namespace platform::window;

void RegisterStubMainTemplate() {
  DialogTemplate t;
  t.id = kStubMainTemplate;
  t.width = 200;
  t.height = 120;
  t.caption = u"VUZideza";
  t.controls = {
      {kStubTicksLabel, ControlKind::Label, {8, 8, 120, 10}, u"Ticks: 0", 0, 0, 0},
      {IdCancel, ControlKind::Button, {140, 6, 50, 14}, u"Close", 0, 0, 0},
      {kStubList, ControlKind::ListView, {8, 24, 184, 88}, u"", style::SingleSelection, 0, 0},
  };
  TemplateRegistry::Instance().Add(std::move(t));
}

StubMainDlg::StubMainDlg(AppContext& context) : Dialog(kStubMainTemplate), context_(context) {}

bool StubMainDlg::OnInitDialog() {
  SetCaption(context_.windowTitle);
  if (context_.startHidden) ShowWindow(false);
  if (context_.trayIcon != nullptr) context_.trayIcon->AddIcon(kStartupTrayIcon);
  ListInsertColumn(kStubList, 0, u"Adapter", 200);
  ListInsertItem(kStubList, 0, u"(none yet)");
  SetTimer(kRefreshTimer, std::chrono::milliseconds(context_.product.mainPageUpdateTimeMs));
  return true;
}

void StubMainDlg::OnTimer(int /*timerId*/) {
  config::SettingStore& store = context_.store;
  // A second instance asks this one to exit.
  if (store.ReadAppNumber(store.ChipValue(kExitFlagValue), 0) == 1) {
    store.WriteAppNumber(store.ChipValue(kExitFlagValue), 0);
    KillTimer(kRefreshTimer);
    EndDialog(0);
    return;
  }
  // A second instance asks this one to show itself.
  if (store.ReadAppNumber(store.ChipValue(kWakeUpFlagValue), 0) == 1) {
    store.WriteAppNumber(store.ChipValue(kWakeUpFlagValue), 0);
    OpenWindow();
    return;
  }
  ++ticks_;
  SetText(kStubTicksLabel, platform::Format(u"Ticks: %d", ticks_));
}

void StubMainDlg::OnCommand(int id, CommandCode code) {
  if (code == CommandCode::Menu && id == kCommandOpenWindow) {
    OpenWindow();
  } else if (code == CommandCode::Menu && id == kCommandExit) {
    EndDialog(0);
  } else {
    Dialog::OnCommand(id, code);
  }
}

void StubMainDlg::OpenWindow() {
  context_.startHidden = false;
  CenterWindow();
  ShowWindow(true);
  BringToForeground();
}

}  // namespace app
