#include "platform/profile/ini_cache.h"

namespace platform {

std::shared_ptr<const IniFile> IniCache::Get(const std::filesystem::path& path) {
  const std::filesystem::path key = path.lexically_normal();
  std::lock_guard lock(mutex_);
  auto& file = files_[key];
  if (!file) file = IniFile::Load(key);
  return file;
}

}  // namespace platform
