#pragma once
// The automation mode: a driver that reads one command per line and acts on the innermost open
// dialog, as a user would.
//
//   tick [N]               fires every active timer of every open dialog once, N times (1);
//                          with virtual time each tick first advances the clock by the
//                          smallest active period
//   click ID               button, check box (toggles) or radio button
//   dblclick ID ROW        list view row
//   select ID INDEX        combo box entry or list view row
//   type ID TEXT           replaces the text of an edit or combo box by the rest of the line
//   check ID 0|1           clicks a check box when its state differs (a radio button: 1 only)
//   scroll ID POS          track bar
//   answer yes|no|ok       the answer of the next message box
//   close                  the close box of the innermost dialog
//   minimize               its minimise box
//   key enter|escape       a key press in the innermost dialog
//   tray dblclick          the icon's double click (LeftDoubleClick, then LeftUp)
//   tray rightclick        RightUp: the program shows its menu, which is dismissed
//   tray command ID        RightUp with ID chosen from the menu the program shows
//   tray restart           the notification area is re-created (the icon is gone; every
//                          open dialog hears OnTaskbarCreated)
//   dump                   one JSON line: open dialogs outermost first, the tray, and the
//                          message boxes shown since the last dump
//   sleep MS               advances virtual time; with real time waits, firing due timers
//
// Blank lines and lines starting with '#' are skipped. A malformed or unknown command prints
// one line to the error stream and is skipped, as is a user action on a hidden dialog, and a
// line longer than 64 KB (its bytes are dropped up to its end, never held). At end of input every
// dialog is closed, the innermost first. With real time, timers fire by themselves while the
// next line is awaited.

#include <chrono>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/window/headless/headless_backend.h"

namespace platform::window::headless {

class LineSource {
 public:
  // Longer lines are no command: Overlong stands for one, whose bytes were dropped.
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;
  enum class Result { Line, Overlong, Timeout, End };
  virtual ~LineSource() = default;
  // The next line without its end; waits at most `timeout` (without limit when none).
  virtual Result Next(std::string& line, std::optional<platform::Millis> timeout) = 0;
};

// Lines of a stream that is always ready (a file or a string); never times out.
class StreamLineSource final : public LineSource {
 public:
  explicit StreamLineSource(std::istream& in) : in_(in) {}
  Result Next(std::string& line, std::optional<platform::Millis> timeout) override;

 private:
  std::istream& in_;
};

// Lines of a file descriptor (standard input), waited for with poll so that timers can fire.
// Each byte is looked at once, however the line arrives.
class FdLineSource final : public LineSource {
 public:
  explicit FdLineSource(int fd) : fd_(fd) {}
  Result Next(std::string& line, std::optional<platform::Millis> timeout) override;

 private:
  std::optional<Result> TakeLine(std::string& line);
  int fd_;
  std::string buffer_;
  std::size_t scanned_ = 0;  // bytes of buffer_ known to hold no line end
  bool dropping_ = false;    // inside an overlong line, until its end
  bool ended_ = false;
};

class Automation final : public Driver {
 public:
  Automation(HeadlessBackend& backend, LineSource& input, std::ostream& out, std::ostream& err);

  bool Step(Dialog& innermost) override;
  // Runs one command line against the innermost dialog.
  void Execute(std::string_view line);

 private:
  void Fail(std::string_view message);
  void Sleep(platform::Millis duration);
  void Dump();

  HeadlessBackend& backend_;
  LineSource& input_;
  std::ostream& out_;
  std::ostream& err_;
  bool ended_ = false;
  long lineNumber_ = 0;
  std::size_t boxesDumped_ = 0;
};

}  // namespace platform::window::headless
