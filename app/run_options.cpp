#include "app/run_options.h"

namespace app {

RunOptions ParseRunOptions(const std::vector<std::string>& args) {
  RunOptions options;
  for (const std::string& arg : args) {
    if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--virtual-clock") {
      options.virtualClock = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else {
      options.switches.push_back(arg);
    }
  }
  return options;
}

const char* RunOptionsUsage() {
  return "usage: vuzideza [--headless [--virtual-clock]] [switches]\n"
         "  --headless       no windows: read automation commands from standard input\n"
         "                   (tick, click, dblclick, select, type, check, scroll, answer,\n"
         "                   close, key, tray, dump, sleep) and print dumps as JSON lines\n"
         "  --virtual-clock  time moves only by 'tick' and 'sleep'\n"
         "  --help           this text\n"
         "switches (with '/' or '-', any letter case):\n"
         "  /EXIT            ask the running instance to exit\n"
         "  /SETWZC          hand the adapter to the system's wireless service, or to this\n"
         "                   program's own client when that was chosen last\n"
         "  /FORCEQV         hand the adapter to this program's own client (wins over /SETWZC)\n"
         "  /SETWZCD [N]     the /SETWZC choice N refresh ticks after the main window opens\n"
         "A second start while an instance runs shows that instance's window and ends.\n";
}

}  // namespace app
