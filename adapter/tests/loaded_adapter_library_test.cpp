#include "adapter/loaded_adapter_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/dynlib/dynamic_library.h"
#include "adapter/tests/contract_call_table.h"

namespace adapter {
namespace {

using platform::DynamicLibrary;
using platform::DynamicLibraryFileName;
using platform::DynamicLibraryOpen;
using platform::OpenDynamicLibrary;

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const fs::path kCompleteStub = VZ_STUB_COMPLETE_DIR;
const fs::path kPartialStub = VZ_STUB_PARTIAL_DIR;

// An empty folder of its own per test, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("vz_adapter_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(path_);
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The stub's test probes, reached through a second reference to the already loaded file.
class StubProbes {
 public:
  StubProbes() : opened_(OpenDynamicLibrary(kCompleteStub / DynamicLibraryFileName("VUZOZA"))) {
    if (!opened_.library) throw std::runtime_error(opened_.error);
    lastCall_ = reinterpret_cast<const char* (*)()>(opened_.library->Symbol("VzStub_LastCall"));
    setAnswer_ = reinterpret_cast<void (*)(std::int32_t)>(opened_.library->Symbol("VzStub_SetAnswer"));
    probeClock_ = reinterpret_cast<std::int32_t (*)(std::uint32_t, std::int64_t*, std::int64_t*)>(
        opened_.library->Symbol("VzStub_ProbeClock"));
  }
  std::string LastCall() const { return lastCall_(); }
  void SetAnswer(std::int32_t value) const { setAnswer_(value); }
  std::int32_t ProbeClock(std::uint32_t sleepMs, std::int64_t& nowMs, std::int64_t& unixSeconds) const {
    return probeClock_(sleepMs, &nowMs, &unixSeconds);
  }

 private:
  DynamicLibraryOpen opened_;
  const char* (*lastCall_)() = nullptr;
  void (*setAnswer_)(std::int32_t) = nullptr;
  std::int32_t (*probeClock_)(std::uint32_t, std::int64_t*, std::int64_t*) = nullptr;
};

class LoadedStubTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AdapterLibraryLoad load = LoadAdapterLibrary(kCompleteStub);
    ASSERT_TRUE(load.library) << load.error;
    EXPECT_EQ(load.error, "");
    library_ = std::move(load.library);
    probes_.SetAnswer(0);
    std::strcpy(adapter_.name, "stub-adapter");
    adapter_.handle = -1;
  }

  std::unique_ptr<LoadedAdapterLibrary> library_;
  StubProbes probes_;
  AdapterHandle adapter_{};
};

TEST_F(LoadedStubTest, EveryCallReachesTheCFunctionOfItsNameWithItsArgumentsAndResult) {
  std::int32_t answer = 100;
  for (const auto& row : testing::EveryContractCall()) {
    SCOPED_TRACE(row.text);
    probes_.SetAnswer(++answer);
    EXPECT_EQ(row.call(*library_, adapter_), answer);
    EXPECT_EQ(probes_.LastCall(), row.text);
  }
}

TEST_F(LoadedStubTest, OutputsWrittenByTheLibraryReachTheCaller) {
  ASSERT_NE(library_->QvOpenAdapter(adapter_), -1);
  EXPECT_EQ(adapter_.handle, 42) << "the handle record must be passed by address";

  std::array<std::uint8_t, VZ_SSID_SIZE> ssid{};
  library_->QueryWL_SSID(adapter_, ssid);
  EXPECT_EQ(std::string(ssid.begin(), ssid.begin() + 4), "STUB");

  std::array<std::uint8_t, VZ_MAC_SIZE> bssid{}, mac{};
  library_->QueryWL_BSSID(adapter_, bssid);
  library_->GetNICAdapterMAC(adapter_, mac);
  EXPECT_EQ(bssid, (std::array<std::uint8_t, 6>{2, 0, 0, 0, 0, 1}));
  EXPECT_EQ(mac, (std::array<std::uint8_t, 6>{2, 0, 0, 0, 0, 2}));

  std::uint32_t sent = 0, received = 0;
  library_->GetTxRxFrameCount(adapter_, sent, received);
  EXPECT_EQ(sent, 1000u);
  EXPECT_EQ(received, 2000u);

  DriverInfo info{};
  library_->Query_QVDriverInfo(adapter_, info);
  EXPECT_EQ(info.chip_code, 4u);

  std::array<AdapterRecord, 30> list{};
  library_->CreateNICAdapterList(list);
  EXPECT_STREQ(list[1].name, "stub1");

  std::array<std::uint8_t, VZ_RATE_SET_SIZE> rates{};
  library_->QueryWL_SupportedRate(adapter_, rates);
  EXPECT_EQ(rates[3], 0x96);
}

TEST_F(LoadedStubTest, InOutCountsOfferTheBufferSizeAndReturnTheLibrarysCount) {
  std::array<std::uint8_t, 100> channels{};
  std::int32_t count = -5;
  library_->QueryWL_SupportChannel(adapter_, channels, count);
  EXPECT_EQ(count, 5);
  EXPECT_THAT(channels, ::testing::ElementsAreArray(
                            {1, 6, 11, 0xFF, 36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

  // A small buffer is announced as small: the library must stop at its end.
  std::array<std::uint8_t, 2> small{};
  library_->QueryWL_UISupportTxRate(adapter_, small, count);
  EXPECT_EQ(probes_.LastCall(), "QueryWL_UISupportTxRate(2)");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(small, (std::array<std::uint8_t, 2>{0x82, 0x84}));
}

TEST_F(LoadedStubTest, AShortKeyIsHandedOverPaddedSoTheLibraryNeverReadsPastIt) {
  // Length code 2 makes the library read 29 bytes whatever the caller holds.
  const std::array<std::uint8_t, 5> key{0xA1, 0xA2, 0xA3, 0xA4, 0xA5};
  library_->SetWL_WriteKey(adapter_, 0, 2, 1, key);
  EXPECT_EQ(probes_.LastCall(), "SetWL_WriteKey(0, 2, 1, A1A2A3A4A5" + std::string(48, '0') + ")");
}

// A clock whose time moves only by sleeping.
class SteppedClock final : public platform::Clock {
 public:
  platform::Millis Now() const override { return now_; }
  std::int64_t UnixSeconds() const override { return 1'700'000'000 + now_.count() / 1000; }
  void Sleep(platform::Millis duration) override { now_ += duration; }

 private:
  platform::Millis now_{0};
};

TEST_F(LoadedStubTest, TheSharedClockDrivesTheLibraryUntilTheLibraryObjectGoes) {
  SteppedClock clock;
  std::int64_t nowMs = 0, unixSeconds = 0;
  EXPECT_EQ(probes_.ProbeClock(0, nowMs, unixSeconds), -1) << "no clock shared yet";

  ASSERT_TRUE(library_->ShareClock(clock));
  ASSERT_EQ(probes_.ProbeClock(2500, nowMs, unixSeconds), 0);
  EXPECT_EQ(nowMs, 2500);
  EXPECT_EQ(unixSeconds, 1'700'000'002);
  EXPECT_EQ(clock.Now(), platform::Millis(2500));

  library_.reset();  // the probes keep the file loaded
  EXPECT_EQ(probes_.ProbeClock(0, nowMs, unixSeconds), -1) << "the clock must be taken back";
}

TEST(LoadAdapterLibraryTest, AMissingFunctionIsNamedTheFirstInContractOrder) {
  // The partial stub lacks QueryWL_RSSI and, further down the table, ReadOid.
  AdapterLibraryLoad load = LoadAdapterLibrary(kPartialStub);
  EXPECT_EQ(load.library, nullptr);
  EXPECT_EQ(load.error, "libVUZOZA.so: function QueryWL_RSSI not found");
}

TEST(LoadAdapterLibraryTest, AMissingLibraryIsNamedWithTheFolderSearched) {
  ScratchFolder empty;
  AdapterLibraryLoad load = LoadAdapterLibrary(empty.path());
  EXPECT_EQ(load.library, nullptr);
  EXPECT_THAT(load.error, StartsWith("libVUZOZA.so: library not found in " + empty.path().string()));
}

TEST(LoadAdapterLibraryTest, AnUnloadableCopyBesideTheProgramIsReportedNotSkipped) {
  ScratchFolder folder;
  std::ofstream(folder.path() / "libVUZOZA.so") << "not a shared library";
  // Even with a good copy reachable by name, the broken one beside the program is the answer.
  StubProbes keepsCompleteStubLoaded;
  AdapterLibraryLoad load = LoadAdapterLibrary(folder.path());
  EXPECT_EQ(load.library, nullptr);
  EXPECT_THAT(load.error,
              StartsWith((folder.path() / "libVUZOZA.so").string() + ": cannot be loaded: "));
}

TEST(LoadAdapterLibraryTest, WithoutACopyBesideTheProgramTheSystemSearchIsUsed) {
  // A library already loaded under the same name is what the system search finds first.
  StubProbes keepsCompleteStubLoaded;
  ScratchFolder empty;
  AdapterLibraryLoad load = LoadAdapterLibrary(empty.path());
  ASSERT_NE(load.library, nullptr) << load.error;
  keepsCompleteStubLoaded.SetAnswer(9);
  EXPECT_EQ(load.library->CheckOSWinNT(), 9);
}

}  // namespace
}  // namespace adapter
