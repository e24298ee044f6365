#include <gtest/gtest.h>

#include "libs/vuzoza/sim/machine_registry.h"
#include "libs/vuzoza/tests/sim_fixture.h"
#include "platform/registry/memory_registry.h"

namespace vuzoza::testing {
namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegValue;

TEST(MachineRegistryTest, EveryAdapterGetsItsClassKeyWithItsHardwareId) {
  auto registry = platform::CreateMemoryRegistry();
  const Scenario s = MustParse(DefaultScenarioJson());
  const std::u16string usbKey = AdapterClassKeyPath("0007");
  ASSERT_EQ(registry->SetValue(RegRoot::LocalMachine, usbKey, u"Other", RegValue::Dword(5)), RegStatus::Ok);
  ASSERT_EQ(SeedMachineRegistry(*registry, s), RegStatus::Ok);
  ASSERT_EQ(SeedMachineRegistry(*registry, s), RegStatus::Ok);  // again on every load: same result

  RegValue v;
  ASSERT_EQ(registry->GetValue(RegRoot::LocalMachine,
                               u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0007",
                               u"MatchingDeviceId", v),
            RegStatus::Ok);
  EXPECT_EQ(v, RegValue::Text(u"USB\\VID_F5A1&PID_7100"));
  ASSERT_EQ(registry->GetValue(RegRoot::LocalMachine, AdapterClassKeyPath("0001"), u"MatchingDeviceId", v), RegStatus::Ok);
  EXPECT_EQ(v, RegValue::Text(u"ROOT\\VZSIM_ETHERNET"));
  ASSERT_EQ(registry->GetValue(RegRoot::LocalMachine, usbKey, u"NetCfgInstanceId", v), RegStatus::Ok);
  EXPECT_EQ(v, RegValue::Text(u"{6F1C2A10-7100-4D5A-9E11-00000000A001}"));
  ASSERT_EQ(registry->GetValue(RegRoot::LocalMachine, usbKey, u"Other", v), RegStatus::Ok);
  EXPECT_EQ(v, RegValue::Dword(5));
}

TEST(MachineRegistryTest, RefusedWriteLeavesNothingHalfWritten) {
  auto registry = platform::CreateMemoryRegistry();
  registry->DenyWrites(RegRoot::LocalMachine, AdapterClassKeyPath("0001"));
  EXPECT_NE(SeedMachineRegistry(*registry, MustParse(DefaultScenarioJson())), RegStatus::Ok);
  RegValue v;
  EXPECT_EQ(registry->GetValue(RegRoot::LocalMachine, AdapterClassKeyPath("0007"), u"MatchingDeviceId", v),
            RegStatus::NotFound);
}

}  // namespace
}  // namespace vuzoza::testing
