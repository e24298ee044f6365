#include "app/gui_backend.h"
#include "platform/window/qt/qt_factory.h"

namespace app {

WindowedBackend CreateWindowedBackend(int& argc, char** argv) {
  // Without a display Qt would abort the process; say so plainly instead.
  if (!platform::window::QtDisplayAvailable()) {
    return {nullptr,
            "no display to open windows on (DISPLAY and WAYLAND_DISPLAY are not set); use "
            "--headless to run without windows"};
  }
  return {platform::window::CreateQtBackend(argc, argv), {}};
}

}  // namespace app
