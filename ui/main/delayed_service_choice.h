#pragma once

namespace ui {

// What start-up decided from the command line for the main window: the delayed choice of who
// controls the adapter ("SETWZCD" and its count).
struct DelayedServiceChoice {
  bool pending = false;  // SETWZCD was given
  int delayTicks = 0;    // acts on the tick that reaches it; 0 or less: the first tick
};

}  // namespace ui
