#include "app/stub_main_dlg.h"

#include <string>

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

bool StubMainDlg::OnInitDialog() {
  ListInsertColumn(kStubList, 0, u"Adapter", 200);
  ListInsertItem(kStubList, 0, u"(none yet)");
  SetTimer(1, std::chrono::milliseconds(1000));
  return true;
}

void StubMainDlg::OnTimer(int /*timerId*/) {
  ++ticks_;
  const std::string count = std::to_string(ticks_);
  SetText(kStubTicksLabel, u"Ticks: " + std::u16string(count.begin(), count.end()));
}

}  // namespace app
