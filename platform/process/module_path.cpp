#include <system_error>

#include "platform/process/process.h"

namespace platform {

std::filesystem::path ModulePath() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : path;
}

}  // namespace platform
