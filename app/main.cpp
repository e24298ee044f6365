#include <unistd.h>

#include <iostream>

#include "app/run_options.h"
#include "app/stub_clock.h"
#include "app/stub_main_dlg.h"
#include "platform/process/process.h"
#include "platform/window/headless/automation.h"
#ifdef VZ_GUI
#include "platform/window/qt/qt_factory.h"
#endif

namespace {

#ifdef VZ_GUI
// The program with real windows; without a display Qt would abort, so say so plainly instead.
int RunWithWindows(int& argc, char** argv) {
  if (!platform::window::QtDisplayAvailable()) {
    std::cerr << "vuzideza: no display to open windows on (DISPLAY and WAYLAND_DISPLAY are not "
                 "set); use --headless to run without windows\n";
    return 2;
  }
  const std::unique_ptr<platform::window::Backend> backend =
      platform::window::CreateQtBackend(argc, argv);
  platform::window::SetCurrentBackend(backend.get());
  const std::unique_ptr<platform::WindowTitles> titles = platform::CreateWindowTitles();
  platform::window::SetWindowTitles(titles.get());

  app::RegisterStubMainTemplate();
  app::StubMainDlg mainDlg;
  mainDlg.DoModal();

  platform::window::SetWindowTitles(nullptr);
  platform::window::SetCurrentBackend(nullptr);
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  namespace hl = platform::window::headless;
  const app::RunOptions options = app::ParseRunOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (options.help) {
    std::cout << app::RunOptionsUsage();
    return 0;
  }
  if (!options.headless) {
#ifdef VZ_GUI
    return RunWithWindows(argc, argv);
#else
    std::cerr << "vuzideza: no graphical backend in this build; use --headless\n";
    return 2;
#endif
  }
  app::StubClock clock(options.virtualClock);
  hl::HeadlessBackend backend(clock, options.virtualClock ? hl::TimeMode::Virtual : hl::TimeMode::Real);
  hl::FdLineSource input(STDIN_FILENO);
  hl::Automation automation(backend, input, std::cout, std::cerr);
  backend.SetDriver(&automation);
  platform::window::SetCurrentBackend(&backend);
  const std::unique_ptr<platform::WindowTitles> titles = platform::CreateWindowTitles();
  platform::window::SetWindowTitles(titles.get());

  app::RegisterStubMainTemplate();
  app::StubMainDlg mainDlg;
  mainDlg.DoModal();

  platform::window::SetWindowTitles(nullptr);
  platform::window::SetCurrentBackend(nullptr);
  return 0;
}
