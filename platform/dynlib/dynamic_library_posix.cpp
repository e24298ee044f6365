#include <dlfcn.h>

#include "platform/dynlib/dynamic_library.h"

namespace platform {
namespace {

class PosixLibrary final : public DynamicLibrary {
 public:
  explicit PosixLibrary(void* handle) : handle_(handle) {}
  ~PosixLibrary() override { dlclose(handle_); }
  PosixLibrary(const PosixLibrary&) = delete;
  PosixLibrary& operator=(const PosixLibrary&) = delete;

  void* Symbol(const char* name) const override { return dlsym(handle_, name); }

 private:
  void* handle_;
};

}  // namespace

std::string DynamicLibraryFileName(std::string_view baseName) {
  return "lib" + std::string(baseName) + ".so";
}

DynamicLibraryOpen OpenDynamicLibrary(const std::filesystem::path& path) {
  // RTLD_NOW: a library that cannot bind its own dependencies fails here, not mid-call.
  // RTLD_LOCAL: its symbols must not satisfy another library's lookups by accident.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    return {nullptr, reason != nullptr ? reason : "unknown error"};
  }
  return {std::make_unique<PosixLibrary>(handle), {}};
}

}  // namespace platform
