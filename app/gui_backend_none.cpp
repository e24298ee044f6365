#include "app/gui_backend.h"

namespace app {

WindowedBackend CreateWindowedBackend(int& /*argc*/, char** /*argv*/) {
  return {nullptr, "no graphical backend in this build; use --headless"};
}

}  // namespace app
