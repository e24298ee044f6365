#include "adapter/adapter_discovery.h"

#include <algorithm>
#include <cstring>

#include "adapter/adapter_handle.h"
#include "adapter/chip_types.h"
#include "platform/text/text.h"

namespace adapter {

namespace {

using platform::RegRoot;
using platform::RegStatus;

constexpr std::u16string_view kHardwareIdValue = u"MatchingDeviceId";
// The identifier is read into 512 bytes: 255 characters and the terminator.
constexpr std::size_t kMaxHardwareIdLength = 255;

template <std::size_t Size>
std::string_view FieldText(const char (&field)[Size]) {
  return std::string_view(field, strnlen(field, Size));
}

}  // namespace

std::u16string AdapterClassKeyPath(bool olderSystemFamily, std::string_view instance) {
  std::u16string path =
      olderSystemFamily
          ? u"System\\CurrentControlSet\\Services\\Class\\Net\\"
          : u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
  return path + platform::WidenCodePage(instance);
}

AdapterDiscovery::AdapterDiscovery(Services services, CurrentAdapter& current,
                                   const std::vector<std::u16string>& hardwareIds)
    : services_(services), current_(current) {
  for (const std::u16string& id : hardwareIds) {
    if (id.empty()) break;
    familyIds_.push_back(platform::ToUpper(id));
  }
}

void AdapterDiscovery::EnterPnpWait(PnpWait state) {
  pnpWait_ = state;
  if (state == PnpWait::Waiting) pnpWaitTicks_ = kPnpWaitTicks;
}

std::u16string AdapterDiscovery::ClassKeyPath(std::string_view instance) {
  return AdapterClassKeyPath(services_.driver.QueryWL_IsWindows95() != 0, instance);
}

std::u16string AdapterDiscovery::ReadHardwareId(std::u16string_view classKey) {
  platform::RegValue value;
  if (services_.registry.GetValue(RegRoot::LocalMachine, classKey, kHardwareIdValue, value) !=
      RegStatus::Ok) {
    return {};
  }
  const auto* text = std::get_if<std::u16string>(&value.data);
  if (!text) return {};
  const std::u16string_view id(text->data(), std::min(text->size(), text->find(u'\0')));
  if (id.size() > kMaxHardwareIdLength) return {};  // does not fit: unreadable, as on the system
  return platform::ToUpper(id);
}

const std::u16string* AdapterDiscovery::FindFamilyId(std::u16string_view hardwareId) const {
  const auto found = std::find(familyIds_.begin(), familyIds_.end(), hardwareId);
  return found == familyIds_.end() ? nullptr : &*found;
}

void AdapterDiscovery::NoteClassKeyAccess(std::u16string_view classKey) {
  switch (services_.registry.OpenKeyForWrite(RegRoot::LocalMachine, classKey)) {
    case RegStatus::Ok: classKeyWriteDenied_ = false; break;
    case RegStatus::AccessDenied: classKeyWriteDenied_ = true; break;
    case RegStatus::NotFound:
    case RegStatus::BadKeyPath:
    case RegStatus::DiskFull:
    case RegStatus::Failed: break;
  }
}

void AdapterDiscovery::Probe(const AdapterRecord& record) {
  AdapterLibrary& driver = services_.driver;
  if (driver.QvOpenAdapter(current_.handle) == 0) return;
  if (driver.QueryWL_DriverVersion(current_.handle) != -1) {
    DriverInfo info{};
    (void)driver.Query_QVDriverInfo(current_.handle, info);
    listed_.push_back(record);
    services_.box.AddAdapterBoxItem(platform::WidenCodePage(FieldText(record.description)));
  }
  (void)driver.QvCloseAdapter(current_.handle);
}

void AdapterDiscovery::DiscoverAdapters() {
  classKeyWriteDenied_ = false;
  services_.box.ResetAdapterBox();
  listed_.clear();

  std::vector<AdapterRecord> records(kLibraryListCapacity);
  const std::int32_t count = services_.driver.CreateAllNICAdapterList(records);
  if (count <= 0) {
    current_.handle.handle = kNoAdapterHandle;
    adapterOpen_ = false;
    return;
  }
  records.resize(std::min<std::size_t>(static_cast<std::size_t>(count), kLibraryListCapacity));

  for (const AdapterRecord& record : records) {
    if (listed_.size() == kMaxListedAdapters) break;
    const std::u16string classKey = ClassKeyPath(FieldText(record.instance));
    const std::u16string hardwareId = ReadHardwareId(classKey);
    if (hardwareId.empty()) continue;
    // The first equal entry decides; a product file naming an identifier twice lists it once.
    const std::u16string* familyId = FindFamilyId(hardwareId);
    if (!familyId) continue;

    NoteClassKeyAccess(classKey);
    current_.handle.handle = kNoAdapterHandle;
    CopyAdapterName(record, current_.handle);
    const bool needsWait = services_.driver.Query_FixWindisPnPBug() != 0;
    if (needsWait && pnpWait_ == PnpWait::None &&
        (familyId->find(u"PCMCIA") != std::u16string::npos ||
         familyId->find(u"PCI") != std::u16string::npos)) {
      EnterPnpWait(PnpWait::Waiting);
      return;
    }
    Probe(record);
  }
  if (listed_.empty()) return;

  EnterPnpWait(PnpWait::None);
  services_.box.SelectAdapterBoxItem(0);
  OnAdapterSelected();
}

void AdapterDiscovery::OnAdapterSelected() {
  AdapterLibrary& driver = services_.driver;
  (void)driver.QvCloseAdapter(current_.handle);
  const int selection = services_.box.AdapterBoxSelection();
  if (selection < 0 || static_cast<std::size_t>(selection) >= listed_.size()) return;

  const AdapterRecord& record = listed_[static_cast<std::size_t>(selection)];
  CopyAdapterRecord(record, current_.handle);
  current_.instance = std::string(FieldText(current_.handle.instance));
  services_.handler.AdapterInstanceChanged(current_.instance);
  if (driver.QvOpenAdapter(current_.handle) == 0) return;
  adapterOpen_ = true;

  current_.classKey = ClassKeyPath(current_.instance);
  current_.chipType = kDefaultChipType;
  const std::u16string hardwareId = ReadHardwareId(current_.classKey);
  if (!hardwareId.empty()) current_.chipType = ChipTypeOfHardwareId(hardwareId);

  // The driver needs a moment after the open before it takes settings.
  services_.clock.Sleep(kSettleAfterOpen);
  services_.handler.AdapterOpened();
}

bool AdapterDiscovery::CountPnpWaitTick() {
  if (services_.driver.Query_FixWindisPnPBug() == 0 || pnpWait_ != PnpWait::Waiting) return false;
  if (--pnpWaitTicks_ > 0) return true;
  EnterPnpWait(PnpWait::Finished);
  return false;
}

}  // namespace adapter
