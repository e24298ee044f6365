// Window titles as lock files: one file per title, held with a shared flock by every process
// that shows a window with that title. A title exists while someone holds its file; the kernel
// drops the locks of a process that dies, so a crash leaves only a stale file, which the next
// look-up removes.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/process/process.h"
#include "platform/text/text.h"

namespace platform {

namespace {

// Titles can be longer than a file name may be, so files are named by a hash; the file holds
// the title itself so that two titles with the same hash are still told apart.
std::string FileNameFor(const std::string& title) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : title) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.title", static_cast<unsigned long long>(hash));
  return name;
}

bool SameFile(int fd, const std::filesystem::path& path) {
  struct stat open {}, named {};
  return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

std::string ReadAll(int fd) {
  std::string content;
  char chunk[512];
  off_t offset = 0;
  ssize_t n;
  while ((n = ::pread(fd, chunk, sizeof chunk, offset)) > 0) {
    content.append(chunk, static_cast<std::size_t>(n));
    offset += n;
  }
  return content;
}

// The folder must be ours alone: in a shared temporary folder another user could have put a
// folder or a link there first.
bool PrivateFolder(const std::filesystem::path& dir) {
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

class LockClaim final : public WindowTitles::Claim {
 public:
  LockClaim(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
  ~LockClaim() override {
    // The last holder removes the file; others keep it.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 && SameFile(fd_, path_)) ::unlink(path_.c_str());
    ::close(fd_);
  }

 private:
  int fd_;
  std::filesystem::path path_;
};

// Stands for a title that could not be announced (no lock folder): the window still works,
// only other processes cannot find it.
class NoClaim final : public WindowTitles::Claim {};

class LockFileTitles final : public WindowTitles {
 public:
  explicit LockFileTitles(std::filesystem::path dir) : dir_(std::move(dir)) {}

  std::unique_ptr<Claim> Announce(std::u16string_view title) override {
    const std::string text = platform::ToUtf8(title);
    const std::filesystem::path path = dir_ / FileNameFor(text);
    if (!PrivateFolder(dir_)) return std::make_unique<NoClaim>();
    // A look-up may remove the file between our open and our lock; then lock the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
      if (fd < 0) break;
      if (::flock(fd, LOCK_SH) == 0 && SameFile(fd, path)) {
        if (ReadAll(fd) != text) {
          // Only the first holder writes; later holders of the same title find it written.
          if (::ftruncate(fd, 0) != 0 ||
              ::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
            ::close(fd);
            break;
          }
        }
        return std::make_unique<LockClaim>(fd, path);
      }
      ::close(fd);
    }
    return std::make_unique<NoClaim>();
  }

  bool Exists(std::u16string_view title) const override {
    const std::string text = platform::ToUtf8(title);
    const std::filesystem::path path = dir_ / FileNameFor(text);
    if (!PrivateFolder(dir_)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    bool exists;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // Nobody holds it: the window's process ended without cleaning up.
      if (SameFile(fd, path)) ::unlink(path.c_str());
      exists = false;
    } else {
      exists = ReadAll(fd) == text;
    }
    ::close(fd);
    return exists;
  }

 private:
  std::filesystem::path dir_;
};

std::filesystem::path DefaultLockDir() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
    return std::filesystem::path(runtime) / "vuzideza-windows";
  }
  return std::filesystem::temp_directory_path() /
         ("vuzideza-windows-" + std::to_string(::getuid()));
}

}  // namespace

std::unique_ptr<WindowTitles> CreateWindowTitles() { return CreateWindowTitles(DefaultLockDir()); }

std::unique_ptr<WindowTitles> CreateWindowTitles(const std::filesystem::path& lockDir) {
  return std::make_unique<LockFileTitles>(lockDir);
}

}  // namespace platform
