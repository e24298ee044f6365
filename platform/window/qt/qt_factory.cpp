#include "platform/window/qt/qt_factory.h"

#include <cstdlib>
#include <string_view>

#include "platform/window/qt/qt_backend.h"

namespace platform::window {
namespace {

std::string_view Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

}  // namespace

bool QtDisplayAvailable() {
  const std::string_view platform = Env("QT_QPA_PLATFORM");
  const bool x11 = !Env("DISPLAY").empty();
  const bool wayland = !Env("WAYLAND_DISPLAY").empty();
  if (platform.empty()) return x11 || wayland;
  // The platform may carry options ("xcb:foo") or a fallback list ("wayland;xcb").
  bool any = false;
  std::string_view rest = platform;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    std::string_view name = rest.substr(0, end);
    name = name.substr(0, name.find(':'));
    if (name == "xcb") {
      any = any || x11;
    } else if (name.substr(0, 7) == "wayland") {
      any = any || wayland;
    } else if (!name.empty()) {
      any = true;  // offscreen, minimal, vnc, eglfs, linuxfb: no display server needed
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return any;
}

std::unique_ptr<Backend> CreateQtBackend(int& argc, char** argv) {
  return std::make_unique<QtBackend>(argc, argv);
}

}  // namespace platform::window
