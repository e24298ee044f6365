#pragma once
// Filling the adapter handle record from an entry of the library's adapter list. The list's
// bytes come from outside: a text that fills its whole field has no terminator, and the
// handle's description field is shorter than the list's. Every copy here cuts and terminates.

#include "adapter/adapter_library.h"

namespace adapter {

// Copies the adapter name only (what probing an adapter needs); the rest is left alone.
void CopyAdapterName(const AdapterRecord& record, AdapterHandle& handle);

// Copies name, description (at most 255 characters) and instance name; the handle value is
// left alone.
void CopyAdapterRecord(const AdapterRecord& record, AdapterHandle& handle);

}  // namespace adapter
