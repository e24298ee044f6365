#include "adapter/testing/simulated_adapter.h"

#include <cstdlib>
#include <vector>

#include "adapter/adapter_handle.h"

namespace adapter::testing {

SimulatedAdapter OpenSimulatedAdapter(const std::filesystem::path& libraryFolder,
                                      const std::filesystem::path& registryDir,
                                      const std::filesystem::path& scenario,
                                      platform::Clock& clock) {
  SimulatedAdapter simulated;
  setenv("VUZIDEZA_REGISTRY_DIR", registryDir.c_str(), 1);
  if (scenario.empty()) {
    unsetenv("VUZOZA_SCENARIO");
  } else {
    setenv("VUZOZA_SCENARIO", scenario.c_str(), 1);
  }
  AdapterLibraryLoad load = LoadAdapterLibrary(libraryFolder);
  if (!load.library) {
    simulated.error = load.error;
    return simulated;
  }
  simulated.library = std::move(load.library);
  if (!simulated.library->ShareClock(clock)) {
    simulated.error = "the library takes no clock: not the simulated one";
    return simulated;
  }
  std::vector<AdapterRecord> list(100);
  if (simulated.library->CreateAllNICAdapterList(list) <= 0) {
    simulated.error = "the simulated world lists no adapter";
    return simulated;
  }
  CopyAdapterRecord(list[0], simulated.handle);
  simulated.instance = simulated.handle.instance;
  if (simulated.library->QvOpenAdapter(simulated.handle) == 0) {
    simulated.error = "the first simulated adapter does not open";
  }
  return simulated;
}

}  // namespace adapter::testing
