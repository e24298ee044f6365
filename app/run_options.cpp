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
         "  --help           this text\n";
}

}  // namespace app
