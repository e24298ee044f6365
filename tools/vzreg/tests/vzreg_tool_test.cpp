// The vzreg program end to end, against a store in a temporary folder.

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/registry/tests/temp_dir.h"

extern char** environ;

namespace vzreg {
namespace {

namespace fs = std::filesystem;

struct Result {
  int code;
  std::string out, err;
};

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class VzregTool : public ::testing::Test {
 protected:
  // Runs vzreg with its store in store_, standard input from /dev/null (not a terminal).
  Result Vzreg(std::vector<std::string> args) {
    std::vector<std::string> env{"VUZIDEZA_REGISTRY_DIR=" + store_.string()};
    for (char** e = environ; *e; ++e) {
      if (!std::string_view(*e).starts_with("VUZIDEZA_REGISTRY_DIR=")) env.emplace_back(*e);
    }
    args.insert(args.begin(), VZREG_PROGRAM);
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    for (std::string& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    const fs::path out = dir_.path() / "stdout", err = dir_.path() / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, VZREG_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << VZREG_PROGRAM;
    int status = 0;
    if (spawned == 0) ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
  }

  platform::testing::TempDir dir_;
  fs::path store_ = dir_.path() / "store";
};

TEST_F(VzregTool, AddQueryDeleteThroughTheStore) {
  EXPECT_EQ(Vzreg({"add", "HKCU\\Software\\Orvex", "/v", "GENERAL\\LanguageId", "/t", "REG_DWORD", "/d", "2"}).code, 0);
  EXPECT_EQ(Vzreg({"add", "HKCU\\Software\\Orvex", "/v", "Name", "/d", "Grüße"}).out,
            "The operation completed successfully.\n");
  EXPECT_EQ(Vzreg({"add", "HKLM\\SYSTEM\\Net", "/v", "Mac", "/t", "REG_BINARY", "/d", "001aff"}).code, 0);
  EXPECT_TRUE(fs::exists(store_ / "HKCU.db"));
  EXPECT_TRUE(fs::exists(store_ / "HKLM.db"));

  Result query = Vzreg({"query", "HKCU\\software\\orvex"});
  EXPECT_EQ(query.code, 0) << query.err;
  EXPECT_EQ(query.out,
            "\nHKEY_CURRENT_USER\\software\\orvex\n"
            "    GENERAL\\LanguageId    REG_DWORD    0x2\n"
            "    Name    REG_SZ    Grüße\n");
  EXPECT_EQ(Vzreg({"query", "HKEY_LOCAL_MACHINE\\SYSTEM\\Net", "/v", "mac"}).out,
            "\nHKEY_LOCAL_MACHINE\\SYSTEM\\Net\n    Mac    REG_BINARY    001AFF\n\n");

  // Standard input is not a terminal here: no prompt, a refusal.
  Result refused = Vzreg({"add", "HKCU\\Software\\Orvex", "/v", "Name", "/d", "other"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("/f"), std::string::npos) << refused.err;
  EXPECT_NE(Vzreg({"query", "HKCU\\Software\\Orvex", "/v", "Name"}).out.find("Grüße"), std::string::npos);

  EXPECT_EQ(Vzreg({"delete", "HKCU\\Software\\Orvex", "/v", "name", "/f"}).code, 0);
  EXPECT_EQ(Vzreg({"delete", "HKCU\\Software", "/f"}).code, 0);
  Result gone = Vzreg({"query", "HKCU\\Software\\Orvex"});
  EXPECT_EQ(gone.code, 1);
  EXPECT_EQ(gone.out, "");
  EXPECT_NE(gone.err.find("unable to find"), std::string::npos);
}

TEST_F(VzregTool, ExportAndImportCarryATreeToAnotherStore) {
  ASSERT_EQ(Vzreg({"add", "HKCU\\Software\\Orvex\\Sub", "/v", "Pass", "/d", "a \"quoted\" \\ text"}).code, 0);
  ASSERT_EQ(Vzreg({"add", "HKCU\\Software\\Orvex", "/ve", "/t", "REG_DWORD", "/d", "0xffffffff"}).code, 0);
  const fs::path file = dir_.path() / "tree.reg";
  Result exported = Vzreg({"export", "HKCU\\Software\\Orvex", file.string()});
  ASSERT_EQ(exported.code, 0) << exported.err;
  const std::string bytes = ReadFile(file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Vzreg({"export", "HKCU\\Software\\Orvex", file.string()}).code, 1) << "overwrote without /y";
  EXPECT_EQ(Vzreg({"export", "HKCU\\Software\\Orvex", file.string(), "/y"}).code, 0);

  const std::string before = Vzreg({"query", "HKCU\\Software", "/s"}).out;
  store_ = dir_.path() / "second store";
  Result imported = Vzreg({"import", file.string()});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(Vzreg({"query", "HKCU\\Software", "/s"}).out, before);
}

// Exports carry pass phrases in clear: the file is the owner's alone, and a link planted where
// a temporary file used to be written is never followed.
TEST_F(VzregTool, ExportIsOwnerOnlyAndFollowsNoPlantedLink) {
  ASSERT_EQ(Vzreg({"add", "HKCU\\Software\\Orvex", "/v", "Dot1xPassphrase", "/d", "secret phrase"}).code, 0);
  const fs::path file = dir_.path() / "tree.reg";
  const fs::path victim = dir_.path() / "victim";
  std::ofstream(victim) << "victim";
  fs::create_symlink(victim, file.string() + ".partial");
  std::ofstream(file) << "old export";
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

  const mode_t umask_before = ::umask(022);
  const Result exported = Vzreg({"export", "HKCU\\Software\\Orvex", file.string(), "/y"});
  ::umask(umask_before);
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(ReadFile(victim), "victim");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_NE(ReadFile(file).find(std::string("s\0e\0c\0r\0e\0t\0", 12)), std::string::npos);
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.path())) ++entries;
  EXPECT_EQ(entries, 6u) << "no temporary file left: store, stdout, stderr, victim, link, export";
}

TEST_F(VzregTool, ErrorsGoToStandardErrorWithAFailingExitCode) {
  const fs::path bad_reg = dir_.path() / "bad.reg";
  std::ofstream(bad_reg) << "Windows Registry Editor Version 5.00\n\n[HKCU\\Fine]\n\"a\"=dword:1\n\"b\"=dword:xyz\n";
  const fs::path garbage_store = dir_.path() / "garbage";
  fs::create_directories(garbage_store);
  std::ofstream(garbage_store / "HKCU.db") << std::string(4096, '#');

  struct Case {
    std::vector<std::string> args;
    std::string store;  // empty: the default test store
    std::string message;
  };
  const Case cases[] = {
      {{}, "", "no operation"},
      {{"query", "HKCR\\x"}, "", "invalid key"},
      {{"add", "HKCU\\x", "/t", "REG_DWORD", "/d", "big"}, "", "invalid REG_DWORD"},
      {{"import", bad_reg.string()}, "", "line 5:"},
      {{"import", (dir_.path() / "missing.reg").string()}, "", "Cannot read"},
      {{"export", "HKCU\\Nothing", (dir_.path() / "x.reg").string()}, "", "unable to find"},
      {{"export", "HKCU", (dir_.path() / "no folder" / "x.reg").string()}, "", "Cannot write"},
      {{"query", "HKCU"}, garbage_store.string(), (garbage_store / "HKCU.db").string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    store_ = c.store.empty() ? dir_.path() / "store" : fs::path(c.store);
    const Result result = Vzreg(c.args);
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.err.rfind("ERROR: ", 0), 0u) << result.err;
  }
  store_ = dir_.path() / "store";
  EXPECT_EQ(Vzreg({"query", "HKCU\\Fine"}).code, 1) << "a bad import must leave nothing behind";
  const Result help = Vzreg({"/?"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace vzreg
