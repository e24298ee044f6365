// Writing an exported .reg file. Exports hold pass phrases and WEP keys in clear, so the file is
// the owner's alone, and nothing else on the way may be written through a link someone planted.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/registry/reg_file.h"

namespace platform {

std::string WriteRegFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  // A name of its own beside the target, created exclusively (mkstemp: O_CREAT | O_EXCL, mode
  // 0600): an existing file or link of that name makes it pick another, never write through.
  std::string temporary = path.string() + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  int error = 0;
  if (::fchmod(fd, 0600) != 0) error = errno;
  for (std::size_t at = 0; error == 0 && at < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    at += static_cast<std::size_t>(n);
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  // Renamed over the target, so a failed write never leaves a torn file in place of a good one.
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return std::strerror(error);
  }
  return {};
}

}  // namespace platform
