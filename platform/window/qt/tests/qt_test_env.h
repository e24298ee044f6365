#pragma once
// One Qt backend (and QApplication) for the whole test program, set as the current backend.

#include "platform/window/qt/qt_backend.h"

namespace platform::window::testing {

QtBackend& TestBackend();

}  // namespace platform::window::testing
