#pragma once
// Loading the supplicant library at run time, as the adapter library is loaded: from the
// program's own folder first, then wherever the system's library search finds it; every function
// of the contract is resolved, and a missing library or function is named in the error.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "security/supplicant_library.h"

namespace security {

inline constexpr std::string_view kSupplicantLibraryBaseName = "dot1x_dll";

struct [[nodiscard]] SupplicantLibraryLoad {
  std::unique_ptr<SupplicantLibrary> library;  // null when loading failed
  // Why it failed, e.g. "libdot1x_dll.so: function Get_PMKID not found". Empty on success.
  std::string error;
};

[[nodiscard]] SupplicantLibraryLoad LoadSupplicantLibrary(const std::filesystem::path& programFolder);

}  // namespace security
