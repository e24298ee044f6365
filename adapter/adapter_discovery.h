#pragma once
// Finding the supported adapters among all network adapters the library enumerates, listing them
// in the main window's adapter box, opening the chosen one and identifying its chip.
//
// An adapter belongs to the family when the "MatchingDeviceId" of its network-class key equals
// (without letter case) one of the product file's identifiers. Some systems need a start-up wait
// before the first open of a PCI or PCMCIA adapter; the main window's timer counts it down.
//
// Library calls, in the order discovery makes them:
//   CreateAllNICAdapterList(list of 100)   number of records, 0 (or less) = no list
//   QueryWL_IsWindows95()                  non-zero selects the older class key path
//   Query_FixWindisPnPBug()                non-zero: PCI/PCMCIA adapters need the start-up wait
//   QvOpenAdapter / QueryWL_DriverVersion / Query_QVDriverInfo / QvCloseAdapter   the probe
// and on selection: QvCloseAdapter, QvOpenAdapter, QueryWL_IsWindows95 (class key path).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/adapter_library.h"
#include "adapter/current_adapter.h"
#include "platform/clock/clock.h"
#include "platform/registry/registry.h"

namespace adapter {

// The main window's adapter box, as discovery fills and reads it.
class AdapterBox {
 public:
  virtual ~AdapterBox() = default;
  virtual void ResetAdapterBox() = 0;
  virtual void AddAdapterBoxItem(std::u16string_view text) = 0;
  virtual void SelectAdapterBoxItem(int index) = 0;
  // -1 when nothing is selected.
  virtual int AdapterBoxSelection() const = 0;
};

// What the window does around a selection.
class AdapterSelectionHandler {
 public:
  virtual ~AdapterSelectionHandler() = default;
  // A listed adapter was chosen: the setting store must follow its instance name from now on.
  virtual void AdapterInstanceChanged(std::string_view instance) = 0;
  // The chosen adapter is open and identified: impose the operating mode, restore the stored
  // configuration and bring the window up to date.
  virtual void AdapterOpened() = 0;
};

// Path of an adapter's network-class key below the local machine root.
std::u16string AdapterClassKeyPath(bool olderSystemFamily, std::string_view instance);

class AdapterDiscovery {
 public:
  static constexpr std::size_t kLibraryListCapacity = 100;
  static constexpr std::size_t kMaxListedAdapters = 10;  // further family adapters are left out
  static constexpr int kPnpWaitTicks = 20;
  static constexpr platform::Millis kSettleAfterOpen{1000};

  enum class PnpWait { None, Waiting, Finished };

  struct Services {
    AdapterLibrary& driver;
    platform::Registry& registry;  // the local machine root is read
    platform::Clock& clock;
    AdapterBox& box;
    AdapterSelectionHandler& handler;
  };

  // `hardwareIds`: the product file's identifiers; the table ends at the first empty one.
  AdapterDiscovery(Services services, CurrentAdapter& current,
                   const std::vector<std::u16string>& hardwareIds);

  // Refills the adapter box and the adapter list; selects and opens the first listed adapter,
  // unless the start-up wait begins first.
  void DiscoverAdapters();
  // Opens the adapter selected in the box and identifies its chip; on success hands over to
  // AdapterOpened.
  void OnAdapterSelected();

  // One timer tick of the start-up wait. True while the wait goes on (the tick ends there);
  // false when the caller should discover now (the wait just finished, or none is running).
  bool CountPnpWaitTick();

  // The adapter-open flag: set by a successful selection; the window clears it when the adapter
  // vanished, which makes its timer discover again.
  bool AdapterOpen() const { return adapterOpen_; }
  void MarkAdapterClosed() { adapterOpen_ = false; }
  // Whether opening a listed adapter's class key for writing was refused (last discovery).
  bool ClassKeyWriteDenied() const { return classKeyWriteDenied_; }
  PnpWait PnpWaitState() const { return pnpWait_; }
  int PnpWaitTicksLeft() const { return pnpWaitTicks_; }
  const std::vector<AdapterRecord>& ListedAdapters() const { return listed_; }

 private:
  void EnterPnpWait(PnpWait state);
  std::u16string ClassKeyPath(std::string_view instance);
  // The hardware identifier below `classKey`, upper-cased; empty when it cannot be read.
  std::u16string ReadHardwareId(std::u16string_view classKey);
  // The product identifier (upper-cased) equal to `hardwareId`, or null.
  const std::u16string* FindFamilyId(std::u16string_view hardwareId) const;
  void NoteClassKeyAccess(std::u16string_view classKey);
  void Probe(const AdapterRecord& record);

  Services services_;
  CurrentAdapter& current_;
  std::vector<std::u16string> familyIds_;  // upper case
  std::vector<AdapterRecord> listed_;
  bool adapterOpen_ = false;
  bool classKeyWriteDenied_ = false;
  PnpWait pnpWait_ = PnpWait::None;
  int pnpWaitTicks_ = 0;
};

}  // namespace adapter
