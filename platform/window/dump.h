#pragma once
// The JSON picture of open dialogs that the automation mode prints and tests read.

#include <nlohmann/json.hpp>

#include "platform/window/backend.h"

namespace platform::window {

// Lower-case name of a control kind as the dump writes it ("checkbox", "listview", ...).
const char* KindName(ControlKind kind);

// One control: id, kind, text, enabled, visible, and what its kind holds (items and
// selection; checked; position and range; columns, rows and selection mark; icon).
// A password edit shows one '*' per character, never its text.
nlohmann::json DumpControl(const ControlState& control);
// One dialog: template id, caption, visibility and its controls in template order.
nlohmann::json DumpDialog(const Dialog& dialog);
// Every open dialog of the backend, outermost first.
nlohmann::json DumpDialogs(const Backend& backend);

}  // namespace platform::window
