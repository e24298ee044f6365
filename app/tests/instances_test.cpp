// Two real instances of the program on one settings store: a second start wakes the first and
// ends without a window of its own; EXIT makes the first one end on its next tick.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/tests/program_runner.h"
#include "platform/registry/registry.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;

constexpr char16_t kAppKey[] = u"software\\Orvex\\vuzideza";

// A value of the program's application key: a number, or -1 when absent or not a number.
int StoredNumber(const ProgramEnvironment& env, std::u16string_view name) {
  platform::OpenRegistryResult opened = platform::OpenSqliteRegistry(env.registryDir());
  if (opened.registry == nullptr) return -1;
  platform::RegValue value;
  if (opened.registry->GetValue(platform::RegRoot::CurrentUser, kAppKey, name, value) !=
      platform::RegStatus::Ok) {
    return -1;
  }
  const auto* number = std::get_if<std::uint32_t>(&value.data);
  return number != nullptr ? static_cast<int>(*number) : -1;
}

nlohmann::json MainWindow(const std::string& dumpLine) {
  const nlohmann::json dump = nlohmann::json::parse(dumpLine);
  EXPECT_EQ(dump["dialogs"].size(), 1u) << dumpLine;
  return dump["dialogs"][0];
}

TEST(Instances, ASecondStartWakesTheFirstAndExitEndsIt) {
  ProgramEnvironment env;
  Instance first(env, {"--headless", "--virtual-clock"});
  first.Send("dump\n");
  std::vector<std::string> lines = first.WaitForLines(1);
  ASSERT_EQ(lines.size(), 1u) << first.Errors();
  nlohmann::json window = MainWindow(lines[0]);
  EXPECT_EQ(window["caption"], "Ventrel Plus");
  EXPECT_EQ(window["visible"], false);
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaExit"), 0);
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaWakeUp"), 0);

  // The second start finds the first one's window and ends at once, showing nothing. It runs
  // on the real clock: it has nothing to wait for.
  Instance second(env, {"--headless"});
  second.CloseInput();
  EXPECT_EQ(second.WaitForExit(), 0) << second.Errors();
  EXPECT_EQ(second.OutputLines(), std::vector<std::string>{});
  EXPECT_EQ(second.Errors(), "");
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaWakeUp"), 1);

  // The first one shows its window on its next tick.
  first.Send("tick\ndump\n");
  lines = first.WaitForLines(2);
  ASSERT_EQ(lines.size(), 2u) << first.Errors();
  window = MainWindow(lines[1]);
  EXPECT_EQ(window["visible"], true);
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaWakeUp"), 0);

  // EXIT only sets the exit flag...
  Instance exit(env, {"--headless", "/EXIT"});
  exit.CloseInput();
  EXPECT_EQ(exit.WaitForExit(), 0) << exit.Errors();
  EXPECT_EQ(exit.OutputLines(), std::vector<std::string>{});
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaExit"), 1);
  EXPECT_TRUE(first.Running());

  // ...which the first instance obeys on its next tick, with its input still open.
  first.Send("tick\n");
  EXPECT_EQ(first.WaitForExit(), 0) << first.Errors();
  EXPECT_EQ(StoredNumber(env, u"GENERAL\\VUZOzaExit"), 0);
  EXPECT_EQ(first.Errors(), "");
}

}  // namespace
}  // namespace app
