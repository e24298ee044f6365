// Automation commands come from whoever drives the program: any bytes must be interpreted or
// rejected without fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "platform/window/headless/automation.h"

namespace {

using namespace platform::window;

class FuzzClock final : public platform::Clock {
 public:
  platform::Millis Now() const override { return now_; }
  std::int64_t UnixSeconds() const override { return 0; }
  void Sleep(platform::Millis d) override { now_ += d; }

 private:
  platform::Millis now_{0};
};

constexpr int kMain = 1, kInner = 2;

void RegisterTemplates() {
  DialogTemplate t;
  t.id = kMain;
  int id = 10;
  for (ControlKind kind : {ControlKind::Label, ControlKind::Edit, ControlKind::Button,
                           ControlKind::CheckBox, ControlKind::RadioButton, ControlKind::RadioButton,
                           ControlKind::DropDownList, ControlKind::ComboBox, ControlKind::ListView,
                           ControlKind::TrackBar, ControlKind::ProgressBar}) {
    ControlTemplate c;
    c.id = id++;
    c.kind = kind;
    c.limit = 6;
    t.controls.push_back(c);
  }
  TemplateRegistry::Instance().Add(t);
  DialogTemplate inner = t;
  inner.id = kInner;
  TemplateRegistry::Instance().Add(inner);
}

class FuzzDlg : public Dialog, public TrayListener {
 public:
  explicit FuzzDlg(int tmpl) : Dialog(tmpl) {}
  bool OnInitDialog() override {
    ComboAdd(16, u"a");
    ComboAdd(17, u"b");
    ListInsertItem(18, 0, u"r");
    SetTimer(1, std::chrono::milliseconds(100));
    CurrentBackend().TrayIcon().Add(1, u"t", this);
    return true;
  }
  void OnTrayMouse(TrayMouse) override { CurrentBackend().TrayIcon().TrackMenu({{5, u"x"}}, 5); }
  void OnCommand(int id, CommandCode code) override {
    if (id == 12 && TemplateId() == kMain) {
      FuzzDlg inner(kInner);
      inner.DoModal();
    } else if (id == 13) {
      MessageBox(u"?", u"", MessageButtons::YesNo, MessageIcon::Question);
      PostCommand(IdCancel);
    } else {
      Dialog::OnCommand(id, code);
    }
  }
  void OnTimer(int) override { ProgressSetPosition(20, TrackPosition(19)); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (RegisterTemplates(), true);
  (void)registered;
  std::string script(reinterpret_cast<const char*>(data), size);
  // Long tick counts and sleeps are requests to run long, not faults.
  std::istringstream lines(script);
  for (std::string line; std::getline(lines, line);) {
    if ((line.rfind("tick", 0) == 0 || line.rfind("sleep", 0) == 0) && line.size() > 9) return 0;
  }
  FuzzClock clock;
  headless::HeadlessBackend backend(clock, headless::TimeMode::Virtual);
  std::istringstream in(script);
  headless::StreamLineSource source(in);
  std::ostringstream out, err;
  headless::Automation automation(backend, source, out, err);
  backend.SetDriver(&automation);
  SetCurrentBackend(&backend);
  FuzzDlg main(kMain);
  main.DoModal();
  SetCurrentBackend(nullptr);
  return 0;
}
