// The program: the services it runs on, then the application object's start-up, run and
// shutdown. Exit status 0 after a run or a message to another instance; 1 when the settings
// store or the adapter driver library cannot be used; 2 when no window can be opened.

#include <unistd.h>

#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "adapter/loaded_adapter_library.h"
#include "app/app_context.h"
#include "app/config_app.h"
#include "app/gui_backend.h"
#include "app/main_window.h"
#include "app/run_options.h"
#include "lang/multi_language.h"
#include "platform/clock/clock.h"
#include "platform/process/process.h"
#include "platform/registry/registry.h"
#include "platform/window/headless/automation.h"

namespace {

namespace hl = platform::window::headless;

int Fail(int status, const std::string& message) {
  std::cerr << "vuzideza: " << message << '\n';
  return status;
}

// The platform's process-wide window services, set for the program's run.
class WindowServices {
 public:
  WindowServices(platform::window::Backend& backend, platform::WindowTitles& titles) {
    platform::window::SetCurrentBackend(&backend);
    platform::window::SetWindowTitles(&titles);
  }
  ~WindowServices() {
    platform::window::SetWindowTitles(nullptr);
    platform::window::SetCurrentBackend(nullptr);
  }
  WindowServices(const WindowServices&) = delete;
  WindowServices& operator=(const WindowServices&) = delete;
};

int Run(int& argc, char** argv, const app::RunOptions& options) {
  std::unique_ptr<platform::Clock> clock;
  if (options.virtualClock) {
    clock = std::make_unique<platform::VirtualClock>();
  } else {
    clock = platform::CreateRealClock();
  }

  // Windows: the headless backend fed by automation commands on standard input, or real ones.
  std::unique_ptr<platform::window::Backend> backend;
  std::unique_ptr<hl::FdLineSource> input;
  std::unique_ptr<hl::Automation> automation;
  if (options.headless) {
    auto headless = std::make_unique<hl::HeadlessBackend>(
        *clock, options.virtualClock ? hl::TimeMode::Virtual : hl::TimeMode::Real);
    input = std::make_unique<hl::FdLineSource>(STDIN_FILENO);
    automation = std::make_unique<hl::Automation>(*headless, *input, std::cout, std::cerr);
    headless->SetDriver(automation.get());
    backend = std::move(headless);
  } else {
    app::WindowedBackend windowed = app::CreateWindowedBackend(argc, argv);
    if (windowed.backend == nullptr) return Fail(2, windowed.error);
    backend = std::move(windowed.backend);
  }

  platform::OpenRegistryResult registry = platform::OpenSqliteRegistry(platform::DefaultRegistryDir());
  if (registry.registry == nullptr) return Fail(1, registry.error);

  const std::filesystem::path programPath = platform::ModulePath();
  adapter::AdapterLibraryLoad library = adapter::LoadAdapterLibrary(programPath.parent_path());
  if (library.library == nullptr) return Fail(1, library.error);
  library.library->ShareClock(*clock);

  const std::unique_ptr<platform::WindowTitles> titles = platform::CreateWindowTitles();
  const WindowServices windowServices(*backend, *titles);

  app::AppContext context(app::AppServices{*clock, *registry.registry, *library.library, *titles,
                                           backend->TrayIcon(), lang::LanguageTable(),
                                           programPath});
  app::CConfigApp application(context, app::MakeMainWindow);
  application.InitInstance(options.switches);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const app::RunOptions options =
      app::ParseRunOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (options.help) {
    std::cout << app::RunOptionsUsage();
    return 0;
  }
  try {
    return Run(argc, argv, options);
  } catch (const std::exception& e) {
    return Fail(1, e.what());
  }
}
