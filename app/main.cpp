#include <unistd.h>

#include <iostream>

#include "app/run_options.h"
#include "app/stub_clock.h"
#include "app/stub_main_dlg.h"
#include "platform/process/process.h"
#include "platform/window/headless/automation.h"

int main(int argc, char** argv) {
  namespace hl = platform::window::headless;
  const app::RunOptions options = app::ParseRunOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (options.help) {
    std::cout << app::RunOptionsUsage();
    return 0;
  }
  if (!options.headless) {
    std::cerr << "vuzideza: no graphical backend in this build; use --headless\n";
    return 2;
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
