#pragma once
// The one world of the loaded library, and the clock the program handed over.

#include <memory>

#include "libs/vuzoza/include/vuzoza.h"
#include "libs/vuzoza/sim/world.h"

namespace vuzoza {

// The current world, created on first use: the scenario of $VUZOZA_SCENARIO or the built-in one,
// on the program's clock. A caller keeps it alive while using it, even if the clock changes.
std::shared_ptr<World> CurrentWorld();

// A new clock starts a new world on the next call (time 0 is when it was handed over).
void UseClock(const VzSimClock* clock);

}  // namespace vuzoza
