#pragma once
// The application object: the program's start-up and shutdown. Start-up reads the product file,
// sets the registry location and the language, makes sure one instance per chip mode runs,
// prepares the tray icon, applies the wireless-service switches and runs the main window until
// it closes; then it takes the tray icon down. Adapter work starts in the main window.
//
// Instances of the same chip mode talk through two registry flags, polled by the running
// instance's main window on its timer, and through the main window's title:
//   <chip mode>\VUZOzaExit = 1     the running instance shall exit
//   <chip mode>\VUZOzaWakeUp = 1   the running instance shall show its window

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_context.h"
#include "app/command_switches.h"
#include "platform/window/dialog.h"

namespace app {

// How start-up ended.
enum class StartupEnd {
  ToldToExit,       // the EXIT switch: the running instance was asked to exit
  WokeOtherWindow,  // another instance runs: it was asked to show its window
  MainWindowRan,    // this instance ran its main window until it closed
};

// Makes the main window; start-up hands it the delayed service choice.
using MainWindowFactory = std::function<std::unique_ptr<platform::window::Dialog>(
    AppContext&, const DelayedServiceChoice&)>;

// How long a starting instance gives the running one to see the exit flag.
inline constexpr platform::Millis kExitWait{2000};

class CConfigApp {
 public:
  CConfigApp(AppContext& context, MainWindowFactory makeMainWindow);

  // Start-up, the main window's run and shutdown; `arguments` are the program's switches.
  StartupEnd InitInstance(const std::vector<std::string>& arguments);

 private:
  void LoadLanguage();
  [[nodiscard]] bool AnotherInstanceAnswers(const std::u16string& storedTitle,
                                            const std::u16string& olderTitle);
  void CreateTrayIcon();
  void ApplyServiceSwitches(const CommandSwitches& switches);

  AppContext& context_;
  MainWindowFactory makeMainWindow_;
};

}  // namespace app
