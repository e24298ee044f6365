// The program itself in automation mode, fed a script on standard input, and how it ends when
// it cannot run.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/tests/program_runner.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;

TEST(HeadlessProgram, RunsTheMainWindowFromStandardInput) {
  ProgramEnvironment env;
  Instance program(env, {"--headless", "--virtual-clock"});
  program.Send("tick 3\nbogus\ndump\n");
  program.CloseInput();
  ASSERT_EQ(program.WaitForExit(), 0) << program.Errors();
  EXPECT_NE(program.Errors().find("unknown command: bogus"), std::string::npos) << program.Errors();
  const std::vector<std::string> lines = program.OutputLines();
  ASSERT_EQ(lines.size(), 1u);
  const nlohmann::json dump = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(dump["dialogs"][0]["caption"], "Ventrel Plus");
  EXPECT_EQ(dump["dialogs"][0]["controls"][0]["text"], "Ticks: 3");
}

TEST(HeadlessProgram, OddSwitchesAreIgnored) {
  ProgramEnvironment env;
  Instance program(env, {"--headless", "--virtual-clock", "/SETWZCD", "99999999999999999999", "",
                         "/", "-", "--", "/\xff\xfe", "plain"});
  program.Send("tick\ndump\n");
  program.CloseInput();
  ASSERT_EQ(program.WaitForExit(), 0) << program.Errors();
  EXPECT_EQ(program.OutputLines().size(), 1u);
}

TEST(HeadlessProgram, WithoutHeadlessOrADisplayPointsToHeadless) {
  // With the windowed backend built in, only a missing display keeps the program from opening
  // its (never ending) main window.
  ProgramEnvironment env;
  Instance program(env, {});
  ASSERT_EQ(program.WaitForExit(), 2);
  EXPECT_NE(program.Errors().find("use --headless"), std::string::npos) << program.Errors();
}

TEST(HeadlessProgram, AnUnusableSettingsStoreIsNamed) {
  ProgramEnvironment env;
  // A file where the store's folder should be.
  std::ofstream(env.registryDir()) << "not a folder";
  Instance program(env, {"--headless", "--virtual-clock"});
  ASSERT_EQ(program.WaitForExit(), 1);
  EXPECT_NE(program.Errors().find(env.registryDir().string()), std::string::npos)
      << program.Errors();
}

TEST(HeadlessProgram, AMissingAdapterLibraryIsNamed) {
  // The program alone in a folder, without the driver library beside it.
  ProgramEnvironment env;
  const std::filesystem::path copy = env.folder() / "vuzideza";
  std::filesystem::copy_file(testing::ProgramFolder() / "vuzideza", copy);
  Instance program(env, {"--headless", "--virtual-clock"}, copy);
  ASSERT_EQ(program.WaitForExit(), 1);
  EXPECT_NE(program.Errors().find("libVUZOZA.so"), std::string::npos) << program.Errors();
}

}  // namespace
}  // namespace app
