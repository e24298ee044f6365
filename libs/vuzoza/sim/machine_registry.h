#pragma once
// The machine registry entries a driver installer leaves for each network adapter: its key below
// the network adapter class, holding the hardware identifier the program identifies it by.

#include <string>

#include "libs/vuzoza/sim/scenario.h"
#include "platform/registry/registry.h"

namespace vuzoza {

std::u16string AdapterClassKeyPath(const std::string& instance);

// Writes "MatchingDeviceId", "DriverDesc" and "NetCfgInstanceId" of every adapter, in one
// transaction; other values of those keys stay as they are.
[[nodiscard]] platform::RegStatus SeedMachineRegistry(platform::Registry& registry, const Scenario& scenario);

}  // namespace vuzoza
