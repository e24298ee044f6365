// The program itself in automation mode, fed a script on standard input, and how it ends when
// it cannot run.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/tests/program_runner.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;

// The control of a dumped dialog with the given id, null when it has none.
const nlohmann::json* Control(const nlohmann::json& dialog, int id) {
  for (const nlohmann::json& control : dialog["controls"]) {
    if (control["id"] == id) return &control;
  }
  return nullptr;
}

TEST(HeadlessProgram, RunsTheMainWindowOnTheSimulatedAdapterFromStandardInput) {
  ProgramEnvironment env;
  Instance program(env, {"--headless", "--virtual-clock"});
  program.Send("tick 3\nbogus\ndump\ntray dblclick\ntick\ndump\n");
  program.CloseInput();
  ASSERT_EQ(program.WaitForExit(), 0) << program.Errors();
  EXPECT_NE(program.Errors().find("unknown command: bogus"), std::string::npos) << program.Errors();
  const std::vector<std::string> lines = program.OutputLines();
  ASSERT_EQ(lines.size(), 2u) << program.Errors();
  constexpr int kMainTemplate = 156, kAdapterBox = 1181;

  // Behind the tray icon, with the adapter open.
  const nlohmann::json hidden = nlohmann::json::parse(lines[0]);
  ASSERT_EQ(hidden["dialogs"].size(), 1u);
  EXPECT_EQ(hidden["dialogs"][0]["template"], kMainTemplate);
  EXPECT_EQ(hidden["dialogs"][0]["caption"], "Ventrel Plus");
  EXPECT_EQ(hidden["dialogs"][0]["visible"], false);
  EXPECT_EQ(hidden["tray"]["shown"], true);

  // Opened from the tray, and still shown after the next tick.
  const nlohmann::json shown = nlohmann::json::parse(lines[1]);
  const nlohmann::json& window = shown["dialogs"][0];
  EXPECT_EQ(window["visible"], true);
  const nlohmann::json* box = Control(window, kAdapterBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ((*box)["items"], nlohmann::json::array({"VZ 7100 USB Wireless LAN Adapter"}));
  EXPECT_EQ((*box)["selection"], 0);
  EXPECT_EQ(shown["tray"]["shown"], true);
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
