// Arbitrary adapter list records from the library, each with its name as the hardware identifier
// in the machine registry: discovery must list at most ten adapters, keep the box and the list in
// step, and leave every text of the handle terminated.
//
// Input: 525-byte adapter records back to back (a shorter tail is padded with zeros).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapter/adapter_discovery.h"
#include "adapter/testing/recording_adapter.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace {

class CountingBox final : public adapter::AdapterBox {
 public:
  void ResetAdapterBox() override { items = 0, selection = -1; }
  void AddAdapterBoxItem(std::u16string_view) override { ++items; }
  void SelectAdapterBoxItem(int index) override { selection = index; }
  int AdapterBoxSelection() const override { return selection; }
  int items = 0;
  int selection = -1;
};

class IgnoringHandler final : public adapter::AdapterSelectionHandler {
 public:
  void AdapterInstanceChanged(std::string_view instance) override {
    if (instance.size() >= VZ_ADAPTER_INSTANCE_SIZE) std::abort();
  }
  void AdapterOpened() override {}
};

template <std::size_t Size>
bool Terminated(const char (&field)[Size]) {
  return std::memchr(field, 0, Size) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kRecord = sizeof(adapter::AdapterRecord);
  std::vector<adapter::AdapterRecord> records((size + kRecord - 1) / kRecord);
  if (records.size() > 40) return 0;
  // No records (empty input) is a case worth running, but its buffer may be null.
  if (size != 0) std::memcpy(records.data(), data, size);

  auto registry = platform::CreateMemoryRegistry();
  for (const auto& record : records) {
    const std::string_view instance(record.instance, strnlen(record.instance, sizeof record.instance));
    const std::string_view name(record.name, strnlen(record.name, sizeof record.name));
    (void)registry->SetValue(platform::RegRoot::LocalMachine,
                             adapter::AdapterClassKeyPath(false, instance), u"MatchingDeviceId",
                             platform::RegValue::Text(platform::WidenCodePage(name)));
  }

  adapter::testing::RecordingAdapterLibrary driver;
  driver.AnswerAdapterList("CreateAllNICAdapterList", records);
  driver.Answer("QueryWL_DriverVersion", 1);
  if (size % 2) driver.Answer("Query_FixWindisPnPBug", 1);
  platform::VirtualClock clock;
  CountingBox box;
  IgnoringHandler handler;
  adapter::CurrentAdapter current;
  adapter::AdapterDiscovery discovery({driver, *registry, clock, box, handler}, current,
                                      {u"USB\\VID_F5A1&PID_7100", u"PCI\\VEN_F5A1&DEV_7200", u"A"});
  for (int tick = 0; tick < 25 && !discovery.AdapterOpen(); ++tick) {
    if (!discovery.CountPnpWaitTick()) discovery.DiscoverAdapters();
  }
  const std::size_t listed = discovery.ListedAdapters().size();
  if (listed > adapter::AdapterDiscovery::kMaxListedAdapters) std::abort();
  if (static_cast<std::size_t>(box.items) != listed) std::abort();
  if (!Terminated(current.handle.name) || !Terminated(current.handle.description) ||
      !Terminated(current.handle.instance)) {
    std::abort();
  }
  if (current.chipType < 1 || current.chipType > 5) std::abort();
  return 0;
}
