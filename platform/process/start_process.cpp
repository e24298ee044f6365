#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/process/process.h"
#include "platform/text/text.h"

extern char** environ;

namespace platform {

namespace {

class SpawnedProcess final : public ChildProcess {
 public:
  explicit SpawnedProcess(pid_t pid) : pid_(pid) {}
  ~SpawnedProcess() override {
    if (reaped_ || Reap()) return;
    // Still running and nobody will wait for it: a waiter keeps it from lingering as a zombie
    // once it ends.
    try {
      std::thread([pid = pid_] { ::waitpid(pid, nullptr, 0); }).detach();
    } catch (const std::system_error&) {
      // No thread to spare: the process is left to be reaped when this one ends.
    }
  }
  int Id() const override { return static_cast<int>(pid_); }
  // The system ends the process by SIGKILL; its exit status then tells the signal, so
  // `exitCode` cannot be passed on.
  bool Terminate(int /*exitCode*/) override {
    if (reaped_ || Reap()) return false;
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    return true;
  }

 private:
  bool Reap() {
    pid_t r;
    while ((r = ::waitpid(pid_, nullptr, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == pid_ || r < 0) reaped_ = true;  // ended, or not ours to wait for any more
    return reaped_;
  }
  pid_t pid_;
  bool reaped_ = false;
};

bool IsExecutableFile(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The path is made absolute because the child changes into the working folder before exec.
std::optional<std::filesystem::path> Executable(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec || !IsExecutableFile(absolute)) return std::nullopt;
  return absolute;
}

std::optional<std::filesystem::path> FindProgram(const std::string& name,
                                                 const std::filesystem::path& workingDir) {
  if (name.find('/') != std::string::npos) {
    const std::filesystem::path path(name);
    return Executable(path.is_absolute() ? path : workingDir / path);
  }
  if (auto inWorkingDir = Executable(workingDir / name)) return inWorkingDir;
  const char* pathVariable = std::getenv("PATH");
  std::string_view dirs = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = dirs.find(':');
    const std::string_view dir = dirs.substr(0, colon);
    if (auto onPath = Executable(std::filesystem::path(dir.empty() ? "." : dir) / name)) return onPath;
    if (colon == std::string_view::npos) return std::nullopt;
    dirs.remove_prefix(colon + 1);
  }
}

}  // namespace

StartResult StartProcess(std::u16string_view commandLine, const std::filesystem::path& workingDir) {
  StartResult result;
  const std::vector<std::u16string> args16 = SplitCommandLine(commandLine);
  if (args16.empty()) {
    result.error = "The command line names no program.";
    return result;
  }
  std::vector<std::string> args;
  for (const auto& a : args16) args.push_back(platform::ToUtf8(a));
  const std::optional<std::filesystem::path> program = FindProgram(args[0], workingDir);
  if (!program) {
    result.error = std::string(std::strerror(ENOENT)) + ": " + args[0];
    return result;
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!workingDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, program->c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    result.error = std::string(std::strerror(rc)) + ": " + program->string();
    return result;
  }
  result.process = std::make_unique<SpawnedProcess>(pid);
  return result;
}

}  // namespace platform
