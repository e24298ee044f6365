#pragma once
// A shared library opened at run time, for the loaders of the two closed libraries. The build
// picks the implementation file for the platform (dynamic_library_posix.cpp here).

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class DynamicLibrary {
 public:
  virtual ~DynamicLibrary() = default;
  // The address of an exported function, or nullptr when the library does not export it.
  virtual void* Symbol(const char* name) const = 0;
};

struct DynamicLibraryOpen {
  std::unique_ptr<DynamicLibrary> library;  // null on failure
  std::string error;                        // the system's reason when it failed
};

// The platform's file name of a library with the given base name ("VUZOZA" -> "libVUZOZA.so").
std::string DynamicLibraryFileName(std::string_view baseName);

// Opens the library at `path`, or, when `path` is a bare file name, wherever the platform's
// default search finds it. Every symbol is bound at once.
DynamicLibraryOpen OpenDynamicLibrary(const std::filesystem::path& path);

}  // namespace platform
