#pragma once
// An in-memory setting store, a recording driver and the radio state, wired into an
// ApplierContext the way the program wires the real ones.

#include <memory>
#include <string>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/appliers.h"
#include "config/setting_store.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace config::testing {

struct ApplierFixture {
  ApplierFixture() : registry(platform::CreateMemoryRegistry()), store(*registry) {
    store.SetAdapterInstance("0003");
    adapter.handle = adapter::testing::RecordingAdapterLibrary::kOpenHandle;
  }

  // Every value of the tree of `mode`, "name=text" in creation order.
  std::vector<std::string> Tree(int mode) const {
    std::vector<platform::NamedValue> values;
    (void)registry->EnumValues(platform::RegRoot::CurrentUser, store.TreePath(mode), values);
    std::vector<std::string> lines;
    for (const auto& value : values) {
      lines.push_back(platform::ToUtf8(value.name) + "=" +
                      platform::ToUtf8(RegistryValueAsText(value.value)));
    }
    return lines;
  }

  std::unique_ptr<platform::MemoryRegistry> registry;
  SettingStore store;
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle adapter{};
  RadioState radio;
  ApplierContext context{driver, adapter, store, radio};
};

}  // namespace config::testing
