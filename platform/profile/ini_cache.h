#pragma once
// Keeps every initialization file read through it, so a file asked for many times (the product
// file, the language file) is read from disk once. Thread-safe.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "platform/profile/ini_file.h"

namespace platform {

class IniCache {
 public:
  // The file at `path` as it was when first requested; the same object for every request.
  std::shared_ptr<const IniFile> Get(const std::filesystem::path& path);

 private:
  std::mutex mutex_;
  std::map<std::filesystem::path, std::shared_ptr<const IniFile>> files_;
};

}  // namespace platform
