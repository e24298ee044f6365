#include "platform/registry/registry.h"

#include <cstdlib>

namespace platform {

RegType RegValue::type() const {
  switch (data.index()) {
    case 0:
      return RegType::String;
    case 1:
      return RegType::Dword;
    case 2:
      return RegType::Binary;
    default:
      return RegType::Typed;
  }
}

std::uint32_t RegValue::TypeNumber() const {
  if (const auto* typed = std::get_if<TypedData>(&data)) return typed->type;
  return static_cast<std::uint32_t>(type());
}

std::filesystem::path DefaultRegistryDir() {
  auto set = [](const char* name) -> const char* {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
  };
  if (const char* dir = set("VUZIDEZA_REGISTRY_DIR")) return dir;
  if (const char* data = set("XDG_DATA_HOME")) return std::filesystem::path(data) / "vuzideza";
  const char* home = set("HOME");
  return std::filesystem::path(home ? home : ".") / ".local" / "share" / "vuzideza";
}

}  // namespace platform
