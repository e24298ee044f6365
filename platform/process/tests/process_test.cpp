// Starting programs and finding window titles, with real child processes.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/process/process.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "vzproc-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};

// Polls a condition that another process makes true; fails after a generous bound.
template <class F>
bool Eventually(F condition) {
  for (int i = 0; i < 500; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

char ProcessState(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  const auto paren = text.rfind(')');
  return paren == std::string::npos || paren + 2 >= text.size() ? '\0' : text[paren + 2];
}

TEST(ModulePath, IsThisTestProgram) {
  EXPECT_EQ(ModulePath().filename(), "platform_process_tests");
  EXPECT_TRUE(ModulePath().is_absolute());
}

TEST(StartProcess, FindsTheProgramInTheWorkingFolderFirstAndRunsThere) {
  TempDir dir;
  const fs::path tool = dir.path / "tool";
  std::ofstream(tool) << "#!/bin/sh\necho \"$1|$2\" > \"$PWD/out\"\n";
  fs::permissions(tool, fs::perms::owner_all);
  StartResult r = StartProcess(u"tool \"two words\" x\\\"y", dir.path);
  ASSERT_NE(r.process, nullptr) << r.error;
  EXPECT_TRUE(Eventually([&] {
    std::ifstream in(dir.path / "out");
    std::string line;
    return std::getline(in, line) && line == "two words|x\"y";
  }));
}

TEST(StartProcess, ReportsWhatCannotStart) {
  TempDir dir;
  std::ofstream(dir.path / "plain") << "not executable";
  for (const char16_t* line : {u"", u"  ", u"no-such-program-vz", u"plain", u"./missing"}) {
    StartResult r = StartProcess(line, dir.path);
    EXPECT_EQ(r.process, nullptr);
    EXPECT_FALSE(r.error.empty());
  }
  StartResult r = StartProcess(u"sh -c true", dir.path / "no-such-folder");
  EXPECT_EQ(r.process, nullptr);
  EXPECT_FALSE(r.error.empty());
}

TEST(StartProcess, TerminateAndReaping) {
  TempDir dir;
  StartResult running = StartProcess(u"sleep 30", dir.path);  // found on the PATH
  ASSERT_NE(running.process, nullptr) << running.error;
  EXPECT_TRUE(running.process->Terminate(1));
  EXPECT_FALSE(running.process->Terminate(1));

  StartResult quick = StartProcess(u"sh -c \"exit 0\"", dir.path);
  ASSERT_NE(quick.process, nullptr);
  const int quickPid = quick.process->Id();
  ASSERT_TRUE(Eventually([&] { return ProcessState(quickPid) == 'Z'; }));
  EXPECT_FALSE(quick.process->Terminate(1));  // it had already ended
  EXPECT_EQ(ProcessState(quickPid), '\0');    // and is reaped

  // A handle dropped while the program runs leaves no zombie once it ends.
  StartResult dropped = StartProcess(u"sh -c \"sleep 0.2\"", dir.path);
  ASSERT_NE(dropped.process, nullptr);
  const int droppedPid = dropped.process->Id();
  dropped.process.reset();
  EXPECT_TRUE(Eventually([&] { return ProcessState(droppedPid) == '\0'; }));
}

TEST(WindowTitles, ALiveHolderInAnotherProcessIsFoundADeadOneIsNot) {
  TempDir dir;
  const fs::path lockDir = dir.path / "locks";
  auto titles = CreateWindowTitles(lockDir);
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto claim = CreateWindowTitles(lockDir)->Announce(u"Main \u00fc   CHIP");
    char byte = 1;
    if (::write(ready[1], &byte, 1) != 1 || ::read(done[0], &byte, 1) < 0) ::_exit(1);
    ::_exit(0);
  }
  char byte;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_TRUE(titles->Exists(u"Main \u00fc   CHIP"));
  EXPECT_FALSE(titles->Exists(u"Main \u00fc"));
  ::kill(child, SIGKILL);  // dies holding the lock, leaving its file behind
  ::waitpid(child, nullptr, 0);
  EXPECT_FALSE(titles->Exists(u"Main \u00fc   CHIP"));
  EXPECT_TRUE(fs::is_empty(lockDir));  // the stale file was removed
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
}

TEST(WindowTitles, SameTitleTwiceAndRelease) {
  TempDir dir;
  auto titles = CreateWindowTitles(dir.path / "locks");
  auto first = titles->Announce(u"Title");
  auto second = titles->Announce(u"Title");
  EXPECT_TRUE(titles->Exists(u"Title"));
  first.reset();
  EXPECT_TRUE(titles->Exists(u"Title"));
  second.reset();
  EXPECT_FALSE(titles->Exists(u"Title"));
  EXPECT_TRUE(fs::is_empty(dir.path / "locks"));
}

TEST(WindowTitles, RefusesAFolderOthersCanReach) {
  TempDir dir;
  const fs::path shared = dir.path / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all);
  auto titles = CreateWindowTitles(shared);
  auto claim = titles->Announce(u"Title");
  EXPECT_NE(claim, nullptr);  // the window still opens
  EXPECT_FALSE(titles->Exists(u"Title"));
  EXPECT_TRUE(fs::is_empty(shared));
}

}  // namespace
}  // namespace platform
