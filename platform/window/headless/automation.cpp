#include "platform/window/headless/automation.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <vector>

#include "platform/text/text.h"

namespace platform::window::headless {

namespace {

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j > i) words.push_back(line.substr(i, j - i));
    i = j;
  }
  return words;
}

std::optional<int> ParseInt(std::string_view word) {
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

}  // namespace

LineSource::Result StreamLineSource::Next(std::string& line,
                                          std::optional<platform::Millis> /*timeout*/) {
  line.clear();
  std::streambuf& in = *in_.rdbuf();
  bool overlong = false;
  for (int c = in.sbumpc();; c = in.sbumpc()) {
    if (c == std::char_traits<char>::eof()) {
      if (line.empty() && !overlong) return Result::End;
      break;
    }
    if (c == '\n') break;
    if (overlong) continue;
    if (line.size() == kMaxLineBytes) {
      overlong = true;
      line.clear();
      continue;
    }
    line.push_back(static_cast<char>(c));
  }
  return overlong ? Result::Overlong : Result::Line;
}

std::optional<LineSource::Result> FdLineSource::TakeLine(std::string& line) {
  const std::size_t end = buffer_.find('\n', scanned_);
  if (end == std::string::npos) {
    scanned_ = buffer_.size();
    if (dropping_) {
      buffer_.clear();
      scanned_ = 0;
      return std::nullopt;
    }
    if (buffer_.size() > kMaxLineBytes) {
      // Reported now; its bytes are dropped as they come, up to its end.
      buffer_.clear();
      scanned_ = 0;
      dropping_ = true;
      return Result::Overlong;
    }
    if (!ended_ || buffer_.empty()) return std::nullopt;
    line = std::move(buffer_);  // a last line without its end
    buffer_.clear();
    scanned_ = 0;
    return Result::Line;
  }
  const bool dropped = dropping_;
  dropping_ = false;
  if (!dropped) line.assign(buffer_, 0, end);
  buffer_.erase(0, end + 1);
  scanned_ = 0;
  if (dropped) return TakeLine(line);
  if (line.size() > kMaxLineBytes) return Result::Overlong;
  return Result::Line;
}

LineSource::Result FdLineSource::Next(std::string& line, std::optional<platform::Millis> timeout) {
  for (;;) {
    if (const auto result = TakeLine(line)) return *result;
    if (ended_) return Result::End;
    pollfd p{fd_, POLLIN, 0};
    const int wait = timeout ? static_cast<int>(std::min<long long>(timeout->count(), 1 << 30)) : -1;
    const int ready = ::poll(&p, 1, wait);
    if (ready < 0) {
      if (errno == EINTR) continue;
      ended_ = true;
      continue;
    }
    if (ready == 0) return Result::Timeout;
    char chunk[4096];
    const ssize_t n = ::read(fd_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ended_ = true;
      continue;
    }
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

Automation::Automation(HeadlessBackend& backend, LineSource& input, std::ostream& out,
                       std::ostream& err)
    : backend_(backend), input_(input), out_(out), err_(err) {}

bool Automation::Step(Dialog& /*innermost*/) {
  if (ended_) return false;
  std::string line;
  switch (input_.Next(line, backend_.TimeUntilNextTimer())) {
    case LineSource::Result::Line:
      Execute(line);
      return true;
    case LineSource::Result::Overlong:
      ++lineNumber_;
      Fail("longer than " + std::to_string(LineSource::kMaxLineBytes) + " bytes; skipped");
      return true;
    case LineSource::Result::Timeout:
      backend_.FireDueTimers();
      return true;
    case LineSource::Result::End:
      ended_ = true;
      return false;
  }
  return false;
}

void Automation::Fail(std::string_view message) {
  err_ << "automation: line " << lineNumber_ << ": " << message << '\n' << std::flush;
}

void Automation::Sleep(platform::Millis duration) {
  platform::Clock& clock = backend_.GetClock();
  if (backend_.Mode() == TimeMode::Virtual) {
    clock.Sleep(duration);
    return;
  }
  const platform::Millis deadline = clock.Now() + duration;
  for (;;) {
    const platform::Millis left = deadline - clock.Now();
    if (left <= platform::Millis(0)) return;
    const std::optional<platform::Millis> next = backend_.TimeUntilNextTimer();
    if (!next || *next >= left) {
      clock.Sleep(left);
      return;
    }
    clock.Sleep(*next);
    backend_.FireDueTimers();
  }
}

void Automation::Dump() {
  out_ << backend_.Dump(boxesDumped_).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
       << '\n'
       << std::flush;
  boxesDumped_ = backend_.MessageBoxes().size();
}

void Automation::Execute(std::string_view line) {
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // scripts written on Windows
  const std::vector<std::string_view> words = Words(line);
  if (words.empty() || words[0].front() == '#') return;
  const std::string_view command = words[0];
  Dialog* dialog = backend_.Innermost();

  // Commands on a control: the control must exist in the innermost dialog; acting on a
  // disabled or hidden one is reported, as nothing happens.
  auto find = [&](std::string_view idWord) -> const ControlState* {
    const std::optional<int> id = ParseInt(idWord);
    if (!id) {
      Fail(std::string(command) + ": not a control id: " + std::string(idWord));
      return nullptr;
    }
    if (dialog == nullptr || !dialog->IsWindowVisible()) {
      Fail(std::string(command) + ": the active dialog is hidden");
      return nullptr;
    }
    const ControlState* c = dialog->Control(*id);
    if (c == nullptr) {
      Fail(std::string(command) + ": no control " + std::to_string(*id) + " in the active dialog");
      return nullptr;
    }
    if (!c->enabled || !c->visible) {
      Fail(std::string(command) + ": control " + std::to_string(*id) + " is " +
           (c->enabled ? "hidden" : "disabled"));
      return nullptr;
    }
    return c;
  };
  auto control = [&](std::size_t argCount) -> const ControlState* {
    if (words.size() != argCount + 1) {
      Fail(std::string(command) + ": expected " + std::to_string(argCount) + " argument(s)");
      return nullptr;
    }
    return find(words[1]);
  };
  auto number = [&](std::size_t index) -> std::optional<int> {
    std::optional<int> value = ParseInt(words[index]);
    if (!value) Fail(std::string(command) + ": not a number: " + std::string(words[index]));
    return value;
  };

  if (command == "tick") {
    if (words.size() > 2) return Fail("tick: expected at most one count");
    int count = 1;
    if (words.size() == 2) {
      const std::optional<int> n = number(1);
      if (!n) return;
      if (*n < 1) return Fail("tick: the count must be positive");
      count = *n;
    }
    for (int i = 0; i < count; ++i) backend_.Tick();
  } else if (command == "click") {
    if (const ControlState* c = control(1)) dialog->UserClick(c->id);
  } else if (command == "dblclick" || command == "select" || command == "scroll" ||
             command == "check") {
    const ControlState* c = control(2);
    if (c == nullptr) return;
    const std::optional<int> value = number(2);
    if (!value) return;
    const bool isList = c->kind == ControlKind::ListView;
    const int count = static_cast<int>(isList ? c->rows.size() : c->items.size());
    if ((command == "dblclick" || command == "select") && (*value < 0 || *value >= count)) {
      Fail(std::string(command) + ": no row or entry " + std::to_string(*value) + " in control " +
           std::to_string(c->id));
    } else if (command == "dblclick") {
      dialog->UserDoubleClick(c->id, *value);
    } else if (command == "select") {
      dialog->UserSelect(c->id, *value);
    } else if (command == "scroll") {
      dialog->UserScroll(c->id, *value);
    } else if (*value != 0 && *value != 1) {
      Fail("check: expected 0 or 1");
    } else if (c->kind == ControlKind::RadioButton && *value == 0) {
      Fail("check: a radio button is cleared by clicking another of its group");
    } else if (c->kind != ControlKind::CheckBox && c->kind != ControlKind::RadioButton) {
      Fail("check: control " + std::to_string(c->id) + " is not a check box");
    } else if (c->checked != (*value == 1)) {
      dialog->UserClick(c->id);
    }
  } else if (command == "type") {
    // The text is the rest of the line after the id and one blank, blanks included.
    if (words.size() < 2) return Fail("type: expected a control id");
    const ControlState* c = find(words[1]);
    if (c == nullptr) return;
    const std::size_t idEnd = static_cast<std::size_t>(words[1].data() + words[1].size() - line.data());
    const std::string_view text = idEnd < line.size() ? line.substr(idEnd + 1) : std::string_view();
    dialog->UserType(c->id, platform::FromUtf8(text));
  } else if (command == "answer") {
    if (words.size() != 2) return Fail("answer: expected yes, no or ok");
    if (words[1] == "yes") {
      backend_.QueueAnswer(MessageResult::Yes);
    } else if (words[1] == "no") {
      backend_.QueueAnswer(MessageResult::No);
    } else if (words[1] == "ok") {
      backend_.QueueAnswer(MessageResult::Ok);
    } else {
      Fail("answer: expected yes, no or ok");
    }
  } else if (command == "close") {
    if (words.size() != 1) return Fail("close: takes no argument");
    if (dialog == nullptr || !dialog->IsWindowVisible()) return Fail("close: the active dialog is hidden");
    dialog->UserClose();
  } else if (command == "minimize") {
    if (words.size() != 1) return Fail("minimize: takes no argument");
    if (dialog == nullptr || !dialog->IsWindowVisible()) return Fail("minimize: the active dialog is hidden");
    dialog->UserMinimize();
  } else if (command == "key") {
    if (words.size() != 2 || (words[1] != "enter" && words[1] != "escape")) {
      return Fail("key: expected enter or escape");
    }
    if (dialog == nullptr || !dialog->IsWindowVisible()) return Fail("key: the active dialog is hidden");
    dialog->UserKey(words[1] == "enter" ? kEnterKey : kEscapeKey);
  } else if (command == "tray") {
    HeadlessTray& tray = backend_.HeadlessTrayIcon();
    bool sent = false;
    if (words.size() == 2 && words[1] == "dblclick") {
      sent = tray.SendMouse(TrayMouse::LeftDoubleClick) && tray.SendMouse(TrayMouse::LeftUp);
    } else if (words.size() == 2 && words[1] == "rightclick") {
      sent = tray.SendMouse(TrayMouse::RightUp);
    } else if (words.size() == 2 && words[1] == "restart") {
      backend_.RestartShell();
      return;
    } else if (words.size() == 3 && words[1] == "command") {
      const std::optional<int> id = number(2);
      if (!id) return;
      tray.ChooseFromNextMenu(*id);
      sent = tray.SendMouse(TrayMouse::RightUp);
      tray.ForgetChoices();  // a menu the program did not show must not take it later
    } else {
      return Fail("tray: expected dblclick, rightclick, restart or command ID");
    }
    if (!sent) Fail("tray: no icon is shown");
  } else if (command == "dump") {
    if (words.size() != 1) return Fail("dump: takes no argument");
    Dump();
  } else if (command == "sleep") {
    if (words.size() != 2) return Fail("sleep: expected milliseconds");
    const std::optional<int> ms = number(1);
    if (!ms) return;
    if (*ms < 0) return Fail("sleep: the duration must not be negative");
    Sleep(platform::Millis(*ms));
  } else {
    Fail("unknown command: " + std::string(command));
  }
}

}  // namespace platform::window::headless
