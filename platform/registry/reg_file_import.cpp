// Parsing and import of .reg files.

#include <algorithm>

#include "platform/registry/reg_file.h"
#include "platform/registry/reg_names.h"
#include "platform/text/text.h"

namespace platform {
namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

std::string LineError(std::size_t line, const std::string& why) {
  return "line " + std::to_string(line) + ": " + why;
}

struct DecodedLines {
  std::vector<std::u16string> lines;
  std::string error;
};

void StripCarriageReturns(std::vector<std::u16string>& lines) {
  for (std::u16string& line : lines) {
    if (!line.empty() && line.back() == u'\r') line.pop_back();
  }
}

DecodedLines DecodeLines(std::span<const std::uint8_t> bytes) {
  DecodedLines decoded;
  if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    decoded.error = LineError(1, "big-endian UTF-16 is not supported");
    return decoded;
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    const auto body = bytes.subspan(2);
    decoded.lines.emplace_back();
    for (std::size_t i = 0; i + 1 < body.size(); i += 2) {
      const auto c = static_cast<char16_t>(body[i] | body[i + 1] << 8);
      if (c == u'\n') {
        decoded.lines.emplace_back();
      } else {
        decoded.lines.back().push_back(c);
      }
    }
    if (body.size() % 2 != 0) {
      decoded.error = LineError(decoded.lines.size(), "UTF-16 text ends inside a character");
    }
    StripCarriageReturns(decoded.lines);
    return decoded;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    auto line = platform::FromUtf8Strict(text.substr(start, end - start));
    if (!line) {
      decoded.error = LineError(decoded.lines.size() + 1, "not valid UTF-8 text");
      return decoded;
    }
    decoded.lines.push_back(std::move(*line));
    if (end == text.size()) break;
    start = end + 1;
  }
  StripCarriageReturns(decoded.lines);
  return decoded;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithAsciiNoCase(std::u16string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (regnames::FoldChar(text[i]) != regnames::FoldChar(static_cast<char16_t>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Up to `max_digits` hexadecimal digits and nothing else.
std::optional<std::uint32_t> ParseHexNumber(std::u16string_view text, std::size_t max_digits) {
  if (text.empty() || text.size() > max_digits) return std::nullopt;
  std::uint32_t number = 0;
  for (char16_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    number = number << 4 | static_cast<std::uint32_t>(digit);
  }
  return number;
}

// Comma-separated bytes of one or two hexadecimal digits; blanks around them are allowed.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  text = Trim(text);
  if (text.empty()) return bytes;
  bytes.reserve(text.size() / 3 + 1);
  while (true) {
    const std::size_t comma = std::min(text.find(u','), text.size());
    const auto byte = ParseHexNumber(Trim(text.substr(0, comma)), 2);
    if (!byte) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == text.size()) return bytes;
    text.remove_prefix(comma + 1);
  }
}

// A quoted text starting at text[pos] == '"'; pos ends after the closing quote. Nullptr on
// success, else what is wrong.
const char* ParseQuoted(std::u16string_view text, std::size_t& pos, std::u16string& out) {
  out.clear();
  for (++pos; pos < text.size(); ++pos) {
    const char16_t c = text[pos];
    if (c == u'"') {
      ++pos;
      return nullptr;
    }
    if (c == u'\\') {
      if (++pos == text.size()) break;
      if (text[pos] != u'\\' && text[pos] != u'"') return "unknown escape in quoted text (use \\\\ or \\\")";
    }
    out.push_back(text[pos]);
  }
  return "quoted text is not closed";
}

class Parser {
 public:
  explicit Parser(const std::vector<std::u16string>& lines) : lines_(lines) {}

  RegFileParse Run() {
    if (!ReadHeader()) return std::move(result_);
    while (next_ < lines_.size()) {
      const std::size_t number = ++next_;
      const std::u16string_view line = Trim(lines_[number - 1]);
      if (line.empty() || line.front() == u';') continue;
      const bool ok = line.front() == u'[' ? KeyLine(number, line)
                      : (line.front() == u'"' || line.front() == u'@') ? ValueLine(number, line)
                                                                       : Fail(number, "unrecognised line");
      if (!ok) return std::move(result_);
    }
    return std::move(result_);
  }

 private:
  enum class Section { None, Key, DeletedKey };

  bool Fail(std::size_t line, const std::string& why) {
    result_.ops.clear();
    result_.error = LineError(line, why);
    return false;
  }

  bool ReadHeader() {
    while (next_ < lines_.size()) {
      const std::size_t number = ++next_;
      std::u16string_view line = Trim(lines_[number - 1]);
      if (line.empty()) continue;
      if (line == kHeader) return true;
      return Fail(number, "the file does not start with \"Windows Registry Editor Version 5.00\"");
    }
    return Fail(lines_.size(), "the file is empty");
  }

  bool KeyLine(std::size_t number, std::u16string_view line) {
    if (line.back() != u']') return Fail(number, "key line does not end with ']'");
    std::u16string_view key = line.substr(1, line.size() - 2);
    const bool deleting = !key.empty() && key.front() == u'-';
    if (deleting) key.remove_prefix(1);
    auto rooted = ParseRootedKey(key);
    if (!rooted) return Fail(number, "unknown root key (use HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE)");
    if (std::string problem = regnames::KeyPathProblem(rooted->path); !problem.empty()) {
      return Fail(number, problem);
    }
    root_ = rooted->root;
    path_ = std::move(rooted->path);
    section_ = deleting ? Section::DeletedKey : Section::Key;
    Add(deleting ? RegFileOp::Kind::DeleteKey : RegFileOp::Kind::CreateKey, number, {}, {});
    return true;
  }

  bool ValueLine(std::size_t number, std::u16string_view line) {
    switch (section_) {
      case Section::None:
        return Fail(number, "value before the first key line");
      case Section::DeletedKey:
        return Fail(number, "value under a key that is being deleted");
      case Section::Key:
        break;
    }
    std::u16string name;
    std::size_t pos = 0;
    if (line.front() == u'@') {
      pos = 1;
    } else if (const char* why = ParseQuoted(line, pos, name)) {
      return Fail(number, why);
    }
    std::u16string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest.front() != u'=') return Fail(number, "'=' expected after the value name");
    rest = Trim(rest.substr(1));

    if (rest == u"-") {
      Add(RegFileOp::Kind::DeleteValue, number, std::move(name), {});
      return true;
    }
    if (!rest.empty() && rest.front() == u'"') {
      std::u16string text;
      std::size_t end = 0;
      if (const char* why = ParseQuoted(rest, end, text)) return Fail(number, why);
      if (end != rest.size()) return Fail(number, "unexpected text after the closing quote");
      Add(RegFileOp::Kind::SetValue, number, std::move(name), RegValue::Text(std::move(text)));
      return true;
    }
    if (StartsWithAsciiNoCase(rest, "dword:")) {
      const auto number_value = ParseHexNumber(rest.substr(6), 8);
      if (!number_value) return Fail(number, "dword: needs 1 to 8 hexadecimal digits");
      Add(RegFileOp::Kind::SetValue, number, std::move(name), RegValue::Dword(*number_value));
      return true;
    }
    if (StartsWithAsciiNoCase(rest, "hex")) return HexValue(number, std::move(name), rest.substr(3));
    return Fail(number, "unrecognised value data");
  }

  // `after_hex` follows "hex": either ":bytes" or "(type):bytes".
  bool HexValue(std::size_t number, std::u16string name, std::u16string_view after_hex) {
    std::uint32_t type = static_cast<std::uint32_t>(RegType::Binary);
    if (!after_hex.empty() && after_hex.front() == u'(') {
      const std::size_t close = after_hex.find(u')');
      const auto parsed =
          close == std::u16string_view::npos ? std::nullopt : ParseHexNumber(after_hex.substr(1, close - 1), 8);
      if (!parsed) return Fail(number, "hex(type) needs a hexadecimal type number");
      type = *parsed;
      after_hex.remove_prefix(close + 1);
    }
    if (after_hex.empty() || after_hex.front() != u':') return Fail(number, "':' expected after hex");
    std::u16string text(Trim(after_hex.substr(1)));
    while (!text.empty() && text.back() == u'\\') {
      text.pop_back();
      if (next_ == lines_.size()) return Fail(number, "hex data continues past the end of the file");
      text += Trim(lines_[next_++]);
    }
    auto bytes = ParseHexBytes(text);
    if (!bytes) return Fail(number, "hex data must be bytes of two hexadecimal digits separated by commas");
    RegValue value;
    switch (type) {
      case static_cast<std::uint32_t>(RegType::String): {
        if (bytes->size() % 2 != 0) return Fail(number, "hex(1) text has an odd number of bytes");
        std::u16string chars;
        for (std::size_t i = 0; i < bytes->size(); i += 2) {
          chars.push_back(static_cast<char16_t>((*bytes)[i] | (*bytes)[i + 1] << 8));
        }
        // The terminator the editor writes is not part of the text.
        if (!chars.empty() && chars.back() == u'\0') chars.pop_back();
        value = RegValue::Text(std::move(chars));
        break;
      }
      case static_cast<std::uint32_t>(RegType::Dword): {
        if (bytes->size() != 4) return Fail(number, "hex(4) needs exactly 4 bytes");
        const auto& b = *bytes;
        value = RegValue::Dword(b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24);
        break;
      }
      case static_cast<std::uint32_t>(RegType::Binary):
        value = RegValue::Binary(std::move(*bytes));
        break;
      default:
        // Expandable and multiple texts, 64-bit numbers, and any other type: kept as written.
        value = RegValue::Typed(type, std::move(*bytes));
        break;
    }
    Add(RegFileOp::Kind::SetValue, number, std::move(name), std::move(value));
    return true;
  }

  void Add(RegFileOp::Kind kind, std::size_t line, std::u16string name, RegValue value) {
    result_.ops.push_back(RegFileOp{kind, line, root_, path_, std::move(name), std::move(value)});
  }

  const std::vector<std::u16string>& lines_;
  std::size_t next_ = 0;  // index of the next line to read
  RegFileParse result_;
  Section section_ = Section::None;
  RegRoot root_ = RegRoot::CurrentUser;
  std::u16string path_;
};

std::string StatusText(RegStatus status) {
  switch (status) {
    case RegStatus::Ok:
      return "ok";
    case RegStatus::NotFound:
      return "not found";
    case RegStatus::AccessDenied:
      return "access denied";
    case RegStatus::BadKeyPath:
      return "key path too long";
    case RegStatus::DiskFull:
      return "the disk is full";
    case RegStatus::Failed:
      return "the registry could not be written";
  }
  return {};
}

RegStatus Apply(Registry& registry, const RegFileOp& op) {
  switch (op.kind) {
    case RegFileOp::Kind::CreateKey:
      return registry.CreateKey(op.root, op.path);
    case RegFileOp::Kind::DeleteKey: {
      const RegStatus status = registry.DeleteKey(op.root, op.path);
      return status == RegStatus::NotFound ? RegStatus::Ok : status;
    }
    case RegFileOp::Kind::SetValue:
      return registry.SetValue(op.root, op.path, op.name, op.value);
    case RegFileOp::Kind::DeleteValue: {
      const RegStatus status = registry.DeleteValue(op.root, op.path, op.name);
      return status == RegStatus::NotFound ? RegStatus::Ok : status;
    }
  }
  return RegStatus::Failed;
}

}  // namespace

std::optional<RootedKey> ParseRootedKey(std::u16string_view key) {
  const std::size_t slash = std::min(key.find(u'\\'), key.size());
  const std::u16string root = regnames::Fold(key.substr(0, slash));
  const std::u16string_view path = key.substr(std::min(slash + 1, key.size()));
  if (root == u"HKEY_CURRENT_USER" || root == u"HKCU") {
    return RootedKey{RegRoot::CurrentUser, std::u16string(path)};
  }
  if (root == u"HKEY_LOCAL_MACHINE" || root == u"HKLM") {
    return RootedKey{RegRoot::LocalMachine, std::u16string(path)};
  }
  return std::nullopt;
}

RegFileParse ParseRegFile(std::span<const std::uint8_t> bytes) {
  DecodedLines decoded = DecodeLines(bytes);
  if (!decoded.error.empty()) return RegFileParse{{}, std::move(decoded.error)};
  return Parser(decoded.lines).Run();
}

RegImportResult ImportRegFile(Registry& registry, std::span<const std::uint8_t> bytes) {
  const RegFileParse parsed = ParseRegFile(bytes);
  if (!parsed.error.empty()) return {RegStatus::Failed, parsed.error};
  std::string error;
  const RegStatus status = registry.Batch([&](Registry& batch) {
    for (const RegFileOp& op : parsed.ops) {
      if (RegStatus s = Apply(batch, op); s != RegStatus::Ok) {
        error = LineError(op.line, platform::ToUtf8(RootName(op.root)) +
                                       (op.path.empty() ? "" : "\\") +
                                       platform::ToUtf8(op.path) + ": " + StatusText(s));
        return s;
      }
    }
    return RegStatus::Ok;
  });
  if (status != RegStatus::Ok && error.empty()) error = StatusText(status);
  return {status, std::move(error)};
}

}  // namespace platform
