// The fake's fault points: what tests of the setting store rely on to walk refusals.

#include <gtest/gtest.h>

#include "platform/registry/memory_registry.h"

namespace platform {
namespace {

constexpr RegRoot kCU = RegRoot::CurrentUser;

TEST(MemoryRegistryFaults, DeniedSubtreeRefusesWritesButStillReads) {
  auto reg = CreateMemoryRegistry();
  ASSERT_EQ(reg->SetValue(kCU, u"App\\Locked\\Deep", u"v", RegValue::Dword(1)), RegStatus::Ok);
  reg->DenyWrites(kCU, u"app\\LOCKED");

  EXPECT_EQ(reg->OpenKeyForWrite(kCU, u"App\\Locked"), RegStatus::AccessDenied);
  EXPECT_EQ(reg->OpenKeyForWrite(kCU, u"App\\Locked\\Deep"), RegStatus::AccessDenied);
  EXPECT_EQ(reg->OpenKeyForWrite(kCU, u"App\\Locked\\Missing"), RegStatus::NotFound);
  EXPECT_EQ(reg->OpenKeyForWrite(kCU, u"App"), RegStatus::Ok);
  EXPECT_EQ(reg->OpenKeyForWrite(kCU, u"App\\LockedNot"), RegStatus::NotFound);
  EXPECT_EQ(reg->OpenKeyForWrite(RegRoot::LocalMachine, u"App\\Locked"), RegStatus::NotFound);

  EXPECT_EQ(reg->SetValue(kCU, u"App\\Locked\\Deep", u"v", RegValue::Dword(2)), RegStatus::AccessDenied);
  EXPECT_EQ(reg->SetValue(kCU, u"App\\Locked\\New", u"v", RegValue::Dword(2)), RegStatus::AccessDenied);
  EXPECT_EQ(reg->CreateKey(kCU, u"App\\Locked\\New"), RegStatus::AccessDenied);
  EXPECT_EQ(reg->DeleteValue(kCU, u"App\\Locked\\Deep", u"v"), RegStatus::AccessDenied);
  EXPECT_EQ(reg->DeleteKey(kCU, u"App\\Locked"), RegStatus::AccessDenied);
  EXPECT_EQ(reg->SetValue(kCU, u"App\\LockedNot", u"v", RegValue::Dword(3)), RegStatus::Ok);

  RegValue value;
  ASSERT_EQ(reg->GetValue(kCU, u"App\\Locked\\Deep", u"v", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Dword(1));

  reg->ClearFaults();
  EXPECT_EQ(reg->SetValue(kCU, u"App\\Locked\\Deep", u"v", RegValue::Dword(4)), RegStatus::Ok);
}

TEST(MemoryRegistryFaults, FailNextCallsCountDownAndCountersSeeEveryCall) {
  auto reg = CreateMemoryRegistry();
  reg->FailNextWrites(2);
  EXPECT_EQ(reg->SetValue(kCU, u"K", u"a", RegValue::Dword(1)), RegStatus::Failed);
  EXPECT_EQ(reg->CreateKey(kCU, u"K"), RegStatus::Failed);
  EXPECT_EQ(reg->OpenKey(kCU, u"K"), RegStatus::NotFound);  // failed writes left nothing
  EXPECT_EQ(reg->SetValue(kCU, u"K", u"a", RegValue::Dword(1)), RegStatus::Ok);

  reg->FailNextReads(1);
  RegValue value;
  EXPECT_EQ(reg->GetValue(kCU, u"K", u"a", value), RegStatus::Failed);
  EXPECT_EQ(reg->GetValue(kCU, u"K", u"a", value), RegStatus::Ok);
  EXPECT_EQ(reg->writes(), 3u);
  EXPECT_EQ(reg->reads(), 3u);
}

TEST(MemoryRegistryFaults, RefusedWriteInsideBatchRollsBackTheBatch) {
  auto reg = CreateMemoryRegistry();
  reg->DenyWrites(kCU, u"Locked");
  const RegStatus status = reg->Batch([](Registry& r) {
    EXPECT_EQ(r.SetValue(kCU, u"Open", u"v", RegValue::Dword(1)), RegStatus::Ok);
    return r.SetValue(kCU, u"Locked", u"v", RegValue::Dword(1));
  });
  EXPECT_EQ(status, RegStatus::AccessDenied);
  EXPECT_EQ(reg->OpenKey(kCU, u"Open"), RegStatus::NotFound);
}

}  // namespace
}  // namespace platform
