#pragma once
// The simulated adapter library, loaded the way the program loads it, for integration tests and
// benchmarks: a fresh world on the caller's clock, its registry and scenario chosen by folder and
// file, and the first listed adapter opened.

#include <filesystem>
#include <memory>
#include <string>

#include "adapter/loaded_adapter_library.h"
#include "platform/clock/clock.h"

namespace adapter::testing {

struct SimulatedAdapter {
  std::unique_ptr<LoadedAdapterLibrary> library;
  AdapterHandle handle{-1, {}, {}, {}};
  std::string instance;  // the opened adapter's class instance name
  std::string error;     // empty on success
};

// `libraryFolder`: where libVUZOZA.so was built. `registryDir`: the registry store the library
// seeds with its adapters' class keys. `scenario`: a scenario file, or empty for the built-in one.
// Both are passed through the process environment, as the library reads them.
SimulatedAdapter OpenSimulatedAdapter(const std::filesystem::path& libraryFolder,
                                      const std::filesystem::path& registryDir,
                                      const std::filesystem::path& scenario,
                                      platform::Clock& clock);

}  // namespace adapter::testing
