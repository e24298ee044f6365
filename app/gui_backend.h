#pragma once
// The windowed backend of this build, chosen when the build is configured: Qt widgets, or none.

#include <memory>
#include <string>

#include "platform/window/backend.h"

namespace app {

struct WindowedBackend {
  std::unique_ptr<platform::window::Backend> backend;  // null when windows cannot be opened
  std::string error;                                    // why, pointing to --headless
};

// argc and argv must outlive the backend.
WindowedBackend CreateWindowedBackend(int& argc, char** argv);

}  // namespace app
