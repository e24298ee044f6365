#pragma once
// The program's entry to the Qt window backend. Free of Qt headers so that the program's own
// code can choose the backend without seeing Qt.

#include <memory>

#include "platform/window/backend.h"

namespace platform::window {

// True when a Qt window can be opened here: QT_QPA_PLATFORM names a platform that needs no
// display server (offscreen, minimal, ...), or the display its platform needs ($DISPLAY for
// X11, $WAYLAND_DISPLAY for Wayland) is set. Qt aborts the process when it cannot reach a
// display, so the program asks this first and points the user to --headless instead.
bool QtDisplayAvailable();

// Creates the Qt backend. When no QApplication exists yet, the backend creates one from
// argc/argv and owns it (it is destroyed with the backend; argc and argv must outlive it, as
// Qt requires). When one exists, the backend uses it and leaves it alone.
std::unique_ptr<Backend> CreateQtBackend(int& argc, char** argv);

}  // namespace platform::window
