#pragma once
// Loading the adapter driver library at run time. The program looks for it in its own folder
// first, then wherever the system's library search finds it, resolves every function of the
// contract, and stops with the loader's message when the library or a function is missing.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "adapter/adapter_library.h"
#include "platform/clock/clock.h"

namespace adapter {

inline constexpr std::string_view kAdapterLibraryBaseName = "VUZOZA";

class LoadedAdapterLibrary : public AdapterLibrary {
 public:
  // Hands the program's clock to a simulated library so that its time follows the program's.
  // False, and nothing happens, when the library has no such entry point (the closed one).
  // `clock` must outlive this object or the next ShareClock call.
  virtual bool ShareClock(platform::Clock& clock) = 0;
};

struct [[nodiscard]] AdapterLibraryLoad {
  std::unique_ptr<LoadedAdapterLibrary> library;  // null when loading failed
  // Why it failed, naming the library file and, when one is missing, the function, e.g.
  // "libVUZOZA.so: function QueryWL_RSSI not found". Empty on success.
  std::string error;
};

[[nodiscard]] AdapterLibraryLoad LoadAdapterLibrary(const std::filesystem::path& programFolder);

}  // namespace adapter
