#include "adapter/adapter_discovery.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapter/chip_types.h"
#include "adapter/testing/recording_adapter.h"
#include "platform/registry/memory_registry.h"
#include "platform/text/text.h"

namespace adapter {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class FakeAdapterBox final : public AdapterBox {
 public:
  void ResetAdapterBox() override {
    items.clear();
    selection = -1;
  }
  void AddAdapterBoxItem(std::u16string_view text) override {
    items.push_back(platform::ToUtf8(text));
  }
  void SelectAdapterBoxItem(int index) override { selection = index; }
  int AdapterBoxSelection() const override { return selection; }

  std::vector<std::string> items;
  int selection = -1;
};

class FakeSelectionHandler final : public AdapterSelectionHandler {
 public:
  void AdapterInstanceChanged(std::string_view instance) override {
    events.push_back("instance " + std::string(instance));
  }
  void AdapterOpened() override { events.push_back("opened"); }

  std::vector<std::string> events;
};

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

const std::u16string kUsb7100 = u"USB\\VID_F5A1&PID_7100";
const std::u16string kPci7200 = u"PCI\\VEN_F5A1&DEV_7200";

class AdapterDiscoveryTest : public ::testing::Test {
 protected:
  AdapterDiscoveryTest() : registry_(platform::CreateMemoryRegistry()) {
    driver_.Answer("QueryWL_DriverVersion", 0x0203);
  }

  // An adapter the library lists, with its class key in the machine registry when `hardwareId`
  // is given.
  void AddAdapter(std::string name, std::string description, std::string instance,
                  std::u16string hardwareId, bool olderFamily = false) {
    records_.push_back(testing::MakeAdapterRecord(name, description, instance));
    if (!hardwareId.empty()) {
      ASSERT_EQ(registry_->SetValue(platform::RegRoot::LocalMachine,
                                    AdapterClassKeyPath(olderFamily, instance), u"MatchingDeviceId",
                                    platform::RegValue::Text(hardwareId)),
                platform::RegStatus::Ok);
    }
    driver_.AnswerAdapterList("CreateAllNICAdapterList", records_);
  }

  AdapterDiscovery& Discovery() {
    if (!discovery_) {
      discovery_ = std::make_unique<AdapterDiscovery>(
          AdapterDiscovery::Services{driver_, *registry_, clock_, box_, handler_}, current_,
          familyIds_);
    }
    return *discovery_;
  }

  std::vector<std::u16string> familyIds_ = {kUsb7100, kPci7200, u"", u"USB\\VID_F5A1&PID_7300"};
  testing::RecordingAdapterLibrary driver_;
  std::unique_ptr<platform::MemoryRegistry> registry_;
  platform::VirtualClock clock_;
  FakeAdapterBox box_;
  FakeSelectionHandler handler_;
  CurrentAdapter current_;
  std::vector<AdapterRecord> records_;
  std::unique_ptr<AdapterDiscovery> discovery_;
};

TEST_F(AdapterDiscoveryTest, ListsTheFamilyAdaptersAndOpensTheFirst) {
  AddAdapter("{eth}", "Wired Ethernet", "0001", u"PCI\\VEN_1234&DEV_0001");
  AddAdapter("{usb}", "VZ 7100 USB Wireless LAN Adapter", "0007", kUsb7100);
  AddAdapter("{nokey}", "No class key", "0009", u"");
  AddAdapter("{pci}", "VZ 7200 PCI Wireless LAN Adapter", "0012", kPci7200);
  Discovery().DiscoverAdapters();

  EXPECT_THAT(box_.items, ElementsAre("VZ 7100 USB Wireless LAN Adapter",
                                      "VZ 7200 PCI Wireless LAN Adapter"));
  EXPECT_EQ(box_.selection, 0);
  EXPECT_THAT(driver_.Calls(),
              ElementsAre("CreateAllNICAdapterList(100)", "QueryWL_IsWindows95()",
                          "QueryWL_IsWindows95()", "Query_FixWindisPnPBug()", "QvOpenAdapter()",
                          "QueryWL_DriverVersion()", "Query_QVDriverInfo()", "QvCloseAdapter()",
                          "QueryWL_IsWindows95()", "QueryWL_IsWindows95()",
                          "Query_FixWindisPnPBug()", "QvOpenAdapter()", "QueryWL_DriverVersion()",
                          "Query_QVDriverInfo()", "QvCloseAdapter()",
                          // the selection
                          "QvCloseAdapter()", "QvOpenAdapter()", "QueryWL_IsWindows95()"));
  EXPECT_TRUE(Discovery().AdapterOpen());
  EXPECT_EQ(current_.handle.handle, testing::RecordingAdapterLibrary::kOpenHandle);
  EXPECT_STREQ(current_.handle.name, "{usb}");
  EXPECT_STREQ(current_.handle.description, "VZ 7100 USB Wireless LAN Adapter");
  EXPECT_STREQ(current_.handle.instance, "0007");
  EXPECT_EQ(current_.instance, "0007");
  EXPECT_EQ(current_.classKey,
            u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}"
            u"\\0007");
  EXPECT_EQ(current_.chipType, 1);
  EXPECT_THAT(handler_.events, ElementsAre("instance 0007", "opened"));
  EXPECT_EQ(clock_.Now(), platform::Millis(1000));  // the driver settles before the hand-over
  EXPECT_FALSE(Discovery().ClassKeyWriteDenied());
}

TEST_F(AdapterDiscoveryTest, IdentifiersMatchWithoutLetterCaseButExactly) {
  const struct {
    std::u16string product;
    std::u16string registry;
    bool listed;
  } cases[] = {
      {u"usb\\vid_f5a1&pid_7100", u"USB\\VID_F5A1&PID_7100", true},
      {u"USB\\VID_F5A1&PID_7100", u"usb\\Vid_F5a1&pid_7100", true},
      {u"USB\\VID_F5A1&PID_7100", u"USB\\VID_F5A1&PID_7100&REV_0001", false},
      {u"USB\\VID_F5A1&PID_7100&REV_0001", u"USB\\VID_F5A1&PID_7100", false},
      {u"USB\\VID_F5A1&PID_7100", u"USB\\VID_F5A1&PID_710", false},
      {u"USB\\VID_F5A1&PID_7100", std::u16string(300, u'A'), false},  // does not fit the buffer
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.product) + " / " + platform::ToUtf8(c.registry.substr(0, 40)));
    records_.clear();
    discovery_.reset();
    familyIds_ = {c.product};
    AddAdapter("{a}", "Adapter", "0003", c.registry);
    Discovery().DiscoverAdapters();
    EXPECT_EQ(box_.items.size(), c.listed ? 1u : 0u);
    EXPECT_EQ(Discovery().AdapterOpen(), c.listed);
  }
}

TEST_F(AdapterDiscoveryTest, ChipTypeBySubstringWithTheLastMatchingRowWinning) {
  const struct {
    std::u16string id;
    int chipType;
  } cases[] = {
      {u"USB\\VID_F5A1&PID_7100", 1},
      {u"PCI\\VEN_F5A1&DEV_7200", 2},
      {u"PCI\\VEN_F5A1&DEV_7500", 5},
      {u"USB\\VID_F5A1&PID_7300", 3},
      {u"USB\\VID_F5A1&PID_7400", 4},
      {u"USB\\VID_F5A1&PID_7401", 4},
      {u"PCI\\VEN_F5A1&DEV_7500&SUBSYS_00011234&REV_02", 5},  // revision suffix still matches
      {u"USB\\VID_F5A1&PID_9999", 1},                          // unknown: the default
      {u"PCI\\VEN_F5A1&DEV_7500 USB\\VID_F5A1&PID_7100", 5},   // rows 1 and 3: row 3 wins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.id));
    EXPECT_EQ(ChipTypeOfHardwareId(c.id), c.chipType);

    // The same through a discovery that reads a lower-case registry value.
    records_.clear();
    discovery_.reset();
    familyIds_ = {c.id};
    AddAdapter("{a}", "Adapter", "0004", Lower(c.id));
    Discovery().DiscoverAdapters();
    EXPECT_EQ(current_.chipType, c.chipType);
  }
}

TEST_F(AdapterDiscoveryTest, ChipTypeStaysOneWhenTheIdentifierCannotBeReadAtSelection) {
  current_.chipType = 4;
  AddAdapter("{a}", "Adapter", "0004", u"USB\\VID_F5A1&PID_7300");
  familyIds_ = {u"USB\\VID_F5A1&PID_7300"};
  // Listed while readable; the read during the selection fails.
  Discovery().DiscoverAdapters();
  ASSERT_EQ(current_.chipType, 3);
  ASSERT_EQ(registry_->DeleteValue(platform::RegRoot::LocalMachine, current_.classKey,
                                   u"MatchingDeviceId"),
            platform::RegStatus::Ok);
  Discovery().OnAdapterSelected();
  EXPECT_EQ(current_.chipType, 1);
}

TEST_F(AdapterDiscoveryTest, NothingIsListedWithoutAFamilyTableOrWithoutALibraryList) {
  familyIds_ = {u"", kUsb7100};  // the table ends at its first empty entry
  AddAdapter("{usb}", "USB", "0007", kUsb7100);
  Discovery().DiscoverAdapters();
  EXPECT_THAT(box_.items, IsEmpty());
  EXPECT_THAT(driver_.Calls("QvOpenAdapter"), IsEmpty());
  EXPECT_FALSE(Discovery().AdapterOpen());

  // No list at all: the handle is marked closed.
  current_.handle.handle = 5;
  driver_.Answer("CreateAllNICAdapterList", 0);
  Discovery().DiscoverAdapters();
  EXPECT_EQ(current_.handle.handle, kNoAdapterHandle);
  EXPECT_FALSE(Discovery().AdapterOpen());
  EXPECT_THAT(handler_.events, IsEmpty());
}

TEST_F(AdapterDiscoveryTest, AdaptersWhoseDriverDoesNotAnswerAreSkipped) {
  AddAdapter("{silent}", "Silent", "0002", kUsb7100);
  AddAdapter("{closed}", "Will not open", "0003", kUsb7100);
  AddAdapter("{good}", "Good", "0004", kUsb7100);
  driver_.AnswerNext("QueryWL_DriverVersion", -1);
  driver_.AnswerNext("QvOpenAdapter", 1);
  driver_.AnswerNext("QvOpenAdapter", 0);
  Discovery().DiscoverAdapters();
  EXPECT_THAT(box_.items, ElementsAre("Good"));
  // Closed after every open that succeeded, the silent one included; once more at selection.
  EXPECT_EQ(driver_.Calls("QvCloseAdapter").size(), 3u);
  EXPECT_STREQ(current_.handle.name, "{good}");
}

TEST_F(AdapterDiscoveryTest, AtMostTenFamilyAdaptersAreListedAndSameNamesAreKept) {
  for (int i = 0; i < 12; ++i) {
    const std::string instance = platform::ToUtf8(platform::Format(u"%04d", i));
    AddAdapter("{" + instance + "}", "Same Description", instance, kUsb7100);
  }
  Discovery().DiscoverAdapters();
  EXPECT_EQ(box_.items.size(), 10u);
  EXPECT_EQ(Discovery().ListedAdapters().size(), 10u);
  EXPECT_EQ(driver_.Calls("Query_QVDriverInfo").size(), 10u);  // the rest are not probed
  EXPECT_EQ(current_.instance, "0000");                        // the first one found
}

TEST_F(AdapterDiscoveryTest, ClassKeyWriteDeniedFollowsTheLastListedAdapter) {
  AddAdapter("{usb}", "USB", "0007", kUsb7100);
  registry_->DenyWrites(platform::RegRoot::LocalMachine, AdapterClassKeyPath(false, "0007"));
  Discovery().DiscoverAdapters();
  EXPECT_TRUE(Discovery().ClassKeyWriteDenied());

  AddAdapter("{pci}", "PCI", "0012", kPci7200);  // writable: clears it again
  Discovery().DiscoverAdapters();
  EXPECT_FALSE(Discovery().ClassKeyWriteDenied());
}

TEST_F(AdapterDiscoveryTest, OlderSystemFamilyUsesItsOwnClassKeyPath) {
  driver_.Answer("QueryWL_IsWindows95", 1);
  AddAdapter("{usb}", "USB", "0007", kUsb7100, /*olderFamily=*/true);
  Discovery().DiscoverAdapters();
  EXPECT_EQ(current_.classKey, u"System\\CurrentControlSet\\Services\\Class\\Net\\0007");
  EXPECT_TRUE(Discovery().AdapterOpen());
}

// The main window's timer while no adapter is open: count the wait, else discover.
int TicksUntilOpen(AdapterDiscovery& discovery, int limit) {
  for (int tick = 1; tick <= limit; ++tick) {
    if (discovery.CountPnpWaitTick()) continue;
    discovery.DiscoverAdapters();
    if (discovery.AdapterOpen()) return tick;
  }
  return -1;
}

TEST_F(AdapterDiscoveryTest, PciAdapterWaitsAboutTwentyTicksWhenTheLibraryAsksForIt) {
  driver_.Answer("Query_FixWindisPnPBug", 1);
  AddAdapter("{usb}", "USB", "0007", kUsb7100);
  AddAdapter("{pci}", "PCI", "0012", kPci7200);
  Discovery().DiscoverAdapters();
  EXPECT_THAT(box_.items, ElementsAre("USB"));  // added before the wait began, not selected
  EXPECT_EQ(box_.selection, -1);
  EXPECT_FALSE(Discovery().AdapterOpen());
  EXPECT_THAT(handler_.events, IsEmpty());
  EXPECT_EQ(Discovery().PnpWaitState(), AdapterDiscovery::PnpWait::Waiting);

  EXPECT_EQ(TicksUntilOpen(Discovery(), 100), 20);
  EXPECT_THAT(box_.items, ElementsAre("USB", "PCI"));
  EXPECT_EQ(Discovery().PnpWaitState(), AdapterDiscovery::PnpWait::None);

  // A vanished adapter is found again through a fresh wait: the first tick's discovery enters
  // it, twenty more end it.
  Discovery().MarkAdapterClosed();
  EXPECT_EQ(TicksUntilOpen(Discovery(), 100), 21);
}

TEST_F(AdapterDiscoveryTest, WaitEndsEarlyWhenTheLibraryStopsAskingForIt) {
  driver_.Answer("Query_FixWindisPnPBug", 1);
  AddAdapter("{pci}", "PCI", "0012", kPci7200);
  Discovery().DiscoverAdapters();
  ASSERT_EQ(Discovery().PnpWaitState(), AdapterDiscovery::PnpWait::Waiting);
  driver_.Answer("Query_FixWindisPnPBug", 0);
  EXPECT_EQ(TicksUntilOpen(Discovery(), 100), 1);
}

TEST_F(AdapterDiscoveryTest, SelectingAnotherEntryOpensIt) {
  AddAdapter("{usb}", "USB", "0007", kUsb7100);
  AddAdapter("{pci}", "PCI", "0012", kPci7200);
  Discovery().DiscoverAdapters();
  handler_.events.clear();
  driver_.ClearCalls();

  box_.selection = 1;
  Discovery().OnAdapterSelected();
  EXPECT_STREQ(current_.handle.name, "{pci}");
  EXPECT_EQ(current_.chipType, 2);
  EXPECT_THAT(handler_.events, ElementsAre("instance 0012", "opened"));
  EXPECT_THAT(driver_.Calls(), ElementsAre("QvCloseAdapter()", "QvOpenAdapter()",
                                           "QueryWL_IsWindows95()"));

  // No selection: the current adapter is closed and nothing else happens.
  box_.selection = -1;
  Discovery().OnAdapterSelected();
  EXPECT_EQ(handler_.events.size(), 2u);
}

TEST_F(AdapterDiscoveryTest, FailedOpenAtSelectionLeavesTheOpenFlagAndSkipsTheHandOver) {
  AddAdapter("{usb}", "USB", "0007", kUsb7100);
  AddAdapter("{pci}", "PCI", "0012", kPci7200);
  Discovery().DiscoverAdapters();
  handler_.events.clear();
  const auto before = clock_.Now();

  driver_.AnswerNext("QvOpenAdapter", 0);
  box_.selection = 1;
  Discovery().OnAdapterSelected();
  EXPECT_TRUE(Discovery().AdapterOpen());  // keeps its value
  EXPECT_THAT(handler_.events, ElementsAre("instance 0012"));
  EXPECT_EQ(clock_.Now(), before);
}

}  // namespace
}  // namespace adapter
