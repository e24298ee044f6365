// The program itself in automation mode, fed a script on standard input.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

Result RunProgram(const std::string& args, const std::string& script) {
  const fs::path dir = fs::temp_directory_path() / ("vzapp-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "in") << script;
  const char* bin = std::getenv("VZ_BIN_DIR");
  const std::string command = std::string(bin ? bin : "bin") + "/vuzideza " + args + " < " +
                              (dir / "in").string() + " > " + (dir / "out").string() + " 2> " +
                              (dir / "err").string();
  Result r;
  r.status = std::system(command.c_str());
  std::ostringstream out, err;
  out << std::ifstream(dir / "out").rdbuf();
  err << std::ifstream(dir / "err").rdbuf();
  r.out = out.str();
  r.err = err.str();
  fs::remove_all(dir);
  return r;
}

TEST(HeadlessProgram, RunsTheMainWindowFromStandardInput) {
  const Result r = RunProgram("--headless --virtual-clock", "tick 3\nbogus\ndump\n");
  ASSERT_TRUE(WIFEXITED(r.status));
  EXPECT_EQ(WEXITSTATUS(r.status), 0);
  EXPECT_NE(r.err.find("unknown command: bogus"), std::string::npos) << r.err;
  const nlohmann::json dump = nlohmann::json::parse(r.out);
  EXPECT_EQ(dump["dialogs"][0]["caption"], "VUZideza");
  EXPECT_EQ(dump["dialogs"][0]["controls"][0]["text"], "Ticks: 3");
}

TEST(HeadlessProgram, WithoutHeadlessOrADisplayPointsToHeadless) {
  // With the windowed backend built in, only a missing display keeps the program from opening
  // its (never ending) main window.
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) unsetenv(name);
  const Result r = RunProgram("", "");
  ASSERT_TRUE(WIFEXITED(r.status));
  EXPECT_EQ(WEXITSTATUS(r.status), 2);
  EXPECT_NE(r.err.find("use --headless"), std::string::npos);
}

}  // namespace
