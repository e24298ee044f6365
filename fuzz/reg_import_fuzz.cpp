// Feeds bytes to the .reg importer. A file that imports must export to a file that imports to
// the same tree again, so export escaping and import parsing are checked against each other.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/registry/memory_registry.h"
#include "platform/registry/reg_file.h"

namespace {

std::u16string ExportAll(platform::Registry& registry) {
  std::u16string all, one;
  for (platform::RegRoot root : {platform::RegRoot::CurrentUser, platform::RegRoot::LocalMachine}) {
    if (platform::ExportRegText(registry, root, u"", one) != platform::RegStatus::Ok) std::abort();
    all += one;
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto first = platform::CreateMemoryRegistry();
  if (platform::ImportRegFile(*first, std::span(data, size)).status != platform::RegStatus::Ok) return 0;

  auto second = platform::CreateMemoryRegistry();
  for (platform::RegRoot root : {platform::RegRoot::CurrentUser, platform::RegRoot::LocalMachine}) {
    std::u16string text;
    if (platform::ExportRegText(*first, root, u"", text) != platform::RegStatus::Ok) std::abort();
    if (platform::ImportRegFile(*second, platform::EncodeRegFile(text)).status != platform::RegStatus::Ok) {
      std::abort();
    }
  }
  if (ExportAll(*first) != ExportAll(*second)) std::abort();
  return 0;
}
