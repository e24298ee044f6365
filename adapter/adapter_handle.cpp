#include "adapter/adapter_handle.h"

#include <algorithm>
#include <cstring>

namespace adapter {
namespace {

// Copies the text of `from` (up to its first NUL or its end) into `to`, cut to leave room for a
// terminator, and clears the rest of `to`.
template <std::size_t From, std::size_t To>
void CopyText(const char (&from)[From], char (&to)[To]) {
  const std::size_t length = std::min(strnlen(from, From), To - 1);
  std::memcpy(to, from, length);
  std::memset(to + length, 0, To - length);
}

}  // namespace

void CopyAdapterName(const AdapterRecord& record, AdapterHandle& handle) {
  CopyText(record.name, handle.name);
}

void CopyAdapterRecord(const AdapterRecord& record, AdapterHandle& handle) {
  CopyText(record.name, handle.name);
  CopyText(record.description, handle.description);
  CopyText(record.instance, handle.instance);
}

}  // namespace adapter
