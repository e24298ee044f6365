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
  t.height = 134;
  t.caption = u"VUZideza";
  t.controls = {
      {kStubTicksLabel, ControlKind::Label, {8, 8, 120, 10}, u"Ticks: 0", 0, 0, 0},
      {IdCancel, ControlKind::Button, {140, 6, 50, 14}, u"Close", 0, 0, 0},
      {kStubList, ControlKind::ListView, {8, 24, 184, 88}, u"", style::SingleSelection, 0, 0},
      {kStubAdapterLabel, ControlKind::Label, {8, 116, 60, 10}, u"Network Adapter:", 0, 0, 0},
      {kAdapterBox, ControlKind::DropDownList, {70, 114, 122, 60}, u"", 0, 0, 0},
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
  const AppServices& services = context_.services;
  discovery_.emplace(
      adapter::AdapterDiscovery::Services{services.adapterLibrary, services.registry,
                                          services.clock, *this, *this},
      adapter_,
      std::vector<std::u16string>(context_.product.matchingDeviceIds.begin(),
                                  context_.product.matchingDeviceIds.end()));
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
  // An adapter plugged in later is found without the user's help.
  if (!discovery_->AdapterOpen() && !discovery_->CountPnpWaitTick()) {
    discovery_->DiscoverAdapters();
  }
}

void StubMainDlg::OnCommand(int id, CommandCode code) {
  if (code == CommandCode::Menu && id == kCommandOpenWindow) {
    OpenWindow();
  } else if (code == CommandCode::Menu && id == kCommandExit) {
    EndDialog(0);
  } else if (code == CommandCode::SelChange && id == kAdapterBox) {
    discovery_->OnAdapterSelected();
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

void StubMainDlg::ResetAdapterBox() { ComboReset(kAdapterBox); }

void StubMainDlg::AddAdapterBoxItem(std::u16string_view text) { ComboAdd(kAdapterBox, text); }

void StubMainDlg::SelectAdapterBoxItem(int index) { ComboSelect(kAdapterBox, index); }

int StubMainDlg::AdapterBoxSelection() const { return ComboSelection(kAdapterBox); }

void StubMainDlg::AdapterInstanceChanged(std::string_view instance) {
  context_.store.SetAdapterInstance(instance);
}

// The operating mode and the restore of the stored configuration follow with the real window.
void StubMainDlg::AdapterOpened() {
  context_.currentAdapter = adapter_.handle;
  ListSetItemText(kStubList, 0, 0,
                  platform::Format(u"%s (chip type %d)",
                                   platform::WidenCodePage(adapter_.handle.description),
                                   adapter_.chipType));
}

}  // namespace app
