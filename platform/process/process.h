#pragma once
// The program's own path, starting other programs, and finding top-level windows by title
// across the processes of the same user.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Full path of the running program file.
std::filesystem::path ModulePath();

// Splits a command line into arguments by the Windows rules (blanks separate arguments,
// double quotes group, backslashes escape quotes only in front of them).
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  virtual int Id() const = 0;
  // Ends the process with the given exit code; false when it had already ended.
  virtual bool Terminate(int exitCode) = 0;
};

struct StartResult {
  std::unique_ptr<ChildProcess> process;  // null on failure
  std::string error;                      // the system's text for the failure
};

// Starts the program named by the command line's first argument (looked up in `workingDir`
// first, then on the PATH) with the remaining arguments, in `workingDir`; does not wait.
StartResult StartProcess(std::u16string_view commandLine, const std::filesystem::path& workingDir);

// "Does a top-level window with this exact title exist?" for every process of this user.
// Windows announce their titles while they exist; a process that dies takes its titles with it.
class WindowTitles {
 public:
  // Held while a window with that title exists.
  class Claim {
   public:
    virtual ~Claim() = default;
  };
  virtual ~WindowTitles() = default;
  virtual std::unique_ptr<Claim> Announce(std::u16string_view title) = 0;
  virtual bool Exists(std::u16string_view title) const = 0;
};

// Lock files in $XDG_RUNTIME_DIR (or the temporary folder) + "/vuzideza-windows", one per title.
std::unique_ptr<WindowTitles> CreateWindowTitles();
std::unique_ptr<WindowTitles> CreateWindowTitles(const std::filesystem::path& lockDir);

}  // namespace platform
