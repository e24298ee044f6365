#include "libs/dot1x/certstore/store_paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace certstore {
namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != 0 ? value : nullptr;
}

}  // namespace

std::filesystem::path StoreFolder() {
  if (const char* dir = Env("VUZIDEZA_CERT_DIR")) return dir;
  if (const char* settings = Env("VUZIDEZA_REGISTRY_DIR")) return std::filesystem::path(settings) / "certificates";
  if (const char* data = Env("XDG_DATA_HOME")) return std::filesystem::path(data) / "vuzideza" / "certificates";
  const char* home = Env("HOME");
  return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "vuzideza" / "certificates";
}

std::filesystem::path ExportFolder() { return StoreFolder() / "export"; }

bool MakePrivateFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  return (st.st_mode & 0777) == 0700 || chmod(folder.c_str(), 0700) == 0;
}

bool WritePrivateFile(const std::filesystem::path& file, wpa::ByteSpan content) {
  const std::filesystem::path temporary = file.string() + ".new";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // An earlier file of that name may have been made with a wider mode.
  bool ok = fchmod(fd, 0600) == 0;
  for (std::size_t at = 0; ok && at < content.size();) {
    const ssize_t n = write(fd, content.data() + at, content.size() - at);
    ok = n > 0;
    if (ok) at += static_cast<std::size_t>(n);
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), file.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

bool ReadFile(const std::filesystem::path& file, std::size_t limit, wpa::Bytes& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  out.assign(limit + 1, 0);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  const auto n = static_cast<std::size_t>(in.gcount());
  if (n > limit || in.bad()) return false;
  out.resize(n);
  return true;
}

std::filesystem::path ResolveExported(std::string_view name) {
  const std::filesystem::path path(name);
  return path.is_absolute() ? path : ExportFolder() / path;
}

}  // namespace certstore
