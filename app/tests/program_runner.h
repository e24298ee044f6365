#pragma once
// Running build/bin/vuzideza as a separate process with a settings store and a window-title
// folder of the test's own, so that instances started by one test find each other and nothing
// else.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry/tests/temp_dir.h"

namespace app::testing {

inline std::filesystem::path ProgramFolder() {
  const char* bin = std::getenv("VZ_BIN_DIR");
  return bin != nullptr ? bin : "bin";
}

// The store and the title locks every instance of one test shares.
class ProgramEnvironment {
 public:
  ProgramEnvironment() {
    std::filesystem::create_directory(runtimeDir());
    ::chmod(runtimeDir().c_str(), 0700);
  }
  std::filesystem::path registryDir() const { return dir_.path() / "registry"; }
  std::filesystem::path runtimeDir() const { return dir_.path() / "runtime"; }
  std::filesystem::path folder() const { return dir_.path(); }

 private:
  platform::testing::TempDir dir_;
};

// One running instance: standard input is a pipe the test writes to, the outputs go to files.
class Instance {
 public:
  Instance(const ProgramEnvironment& env, const std::vector<std::string>& arguments,
           const std::filesystem::path& program = ProgramFolder() / "vuzideza") {
    static int counter = 0;
    const std::string name = "instance" + std::to_string(++counter);
    out_ = env.folder() / (name + ".out");
    err_ = env.folder() / (name + ".err");
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[0], STDIN_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      const int out = ::open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = ::open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(err, STDERR_FILENO);
      ::setenv("VUZIDEZA_REGISTRY_DIR", env.registryDir().c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", env.runtimeDir().c_str(), 1);
      for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
      std::vector<std::string> args{program.string()};
      args.insert(args.end(), arguments.begin(), arguments.end());
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(fds[0]);
    input_ = fds[1];
  }
  ~Instance() {
    CloseInput();
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  void Send(const std::string& lines) {
    if (input_ >= 0) (void)!::write(input_, lines.data(), lines.size());
  }
  void CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }

  // The exit status once the process has ended; none if it still runs after `limit`.
  std::optional<int> WaitForExit(std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!status_) {
      int status = 0;
      const pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      } else if (std::chrono::steady_clock::now() > end) {
        break;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return status_;
  }
  bool Running() {
    if (status_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }

  // Complete lines of standard output so far.
  std::vector<std::string> OutputLines() const {
    std::ostringstream text;
    text << std::ifstream(out_).rdbuf();
    const std::string all = text.str();
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos;
         start = end + 1) {
      lines.push_back(all.substr(start, end - start));
    }
    return lines;
  }
  // Waits until standard output holds `count` complete lines.
  std::vector<std::string> WaitForLines(std::size_t count,
                                        std::chrono::seconds limit = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    std::vector<std::string> lines = OutputLines();
    while (lines.size() < count && Running() && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      lines = OutputLines();
    }
    return OutputLines();  // what a process that ended wrote last
  }
  std::string Errors() const {
    std::ostringstream text;
    text << std::ifstream(err_).rdbuf();
    return text.str();
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  std::optional<int> status_;
  std::filesystem::path out_, err_;
};

}  // namespace app::testing
