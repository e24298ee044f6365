// The program's own loader takes the built library: every function of the contract resolves and
// the program's clock drives the simulated time.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "adapter/adapter_handle.h"
#include "adapter/loaded_adapter_library.h"
#include "platform/clock/clock.h"

namespace {

class SteppedClock final : public platform::Clock {
 public:
  platform::Millis Now() const override { return now; }
  std::int64_t UnixSeconds() const override { return 1'700'000'000; }
  void Sleep(platform::Millis d) override { now += d; }
  platform::Millis now{0};
};

TEST(LoaderTest, ProgramsLoaderResolvesTheLibraryAndSharesItsClock) {
  setenv("VUZIDEZA_REGISTRY_DIR", (std::filesystem::temp_directory_path() / "vuzoza-loader-test").c_str(), 1);
  unsetenv("VUZOZA_SCENARIO");
  adapter::AdapterLibraryLoad load =
      adapter::LoadAdapterLibrary(std::filesystem::path(VUZOZA_LIBRARY_PATH).parent_path());
  ASSERT_NE(load.library, nullptr) << load.error;
  SteppedClock clock;
  ASSERT_TRUE(load.library->ShareClock(clock));

  std::vector<adapter::AdapterRecord> list(100);
  ASSERT_EQ(load.library->CreateAllNICAdapterList(list), 2);
  adapter::AdapterHandle handle{};
  handle.handle = -1;
  adapter::CopyAdapterRecord(list[0], handle);
  ASSERT_NE(load.library->QvOpenAdapter(handle), 0);
  EXPECT_EQ(load.library->QueryWL_ConnectState(handle), 1);
  clock.Sleep(platform::Millis(1500));
  EXPECT_EQ(load.library->QueryWL_ConnectState(handle), 0);
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / "vuzoza-loader-test");
}

}  // namespace
