#include "tools/vzreg/vzreg_commands.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "platform/registry/reg_file.h"
#include "platform/registry/reg_names.h"
#include "platform/text/text.h"

namespace vzreg {
namespace {

using platform::NamedValue;
using platform::Registry;
using platform::RegStatus;
using platform::RegType;
using platform::RegValue;
using platform::ToUtf8;

constexpr const char* kDone = "The operation completed successfully.\n";
constexpr const char* kNotFound = "ERROR: The system was unable to find the specified registry key or value.\n";

std::string HexNumber(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdef"[number & 0xF]);
    number >>= 4;
  } while (number != 0);
  return "0x" + digits;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t byte : bytes) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

std::string TypeName(std::uint32_t type) {
  namespace t = platform::regtype;
  switch (type) {
    case t::kNone: return "REG_NONE";
    case t::kString: return "REG_SZ";
    case t::kExpandString: return "REG_EXPAND_SZ";
    case t::kBinary: return "REG_BINARY";
    case t::kDword: return "REG_DWORD";
    case t::kDwordBigEndian: return "REG_DWORD_BIG_ENDIAN";
    case t::kLink: return "REG_LINK";
    case t::kMultiString: return "REG_MULTI_SZ";
    case t::kResourceList: return "REG_RESOURCE_LIST";
    case t::kFullResourceDescriptor: return "REG_FULL_RESOURCE_DESCRIPTOR";
    case t::kResourceRequirementsList: return "REG_RESOURCE_REQUIREMENTS_LIST";
    case t::kQword: return "REG_QWORD";
  }
  return "REG_UNKNOWN(" + HexNumber(type) + ")";
}

// The data of a value of another type, as reg shows it: texts as text (the strings of a
// multiple text joined by \0), numbers in hexadecimal, anything else (or bytes that do not fit
// their type) as hexadecimal bytes.
std::string TypedText(const platform::TypedData& typed) {
  namespace t = platform::regtype;
  const std::vector<std::uint8_t>& b = typed.bytes;
  switch (typed.type) {
    case t::kExpandString:
    case t::kMultiString: {
      if (b.size() % 2 != 0) break;
      std::u16string text;
      for (std::size_t i = 0; i < b.size(); i += 2) text.push_back(static_cast<char16_t>(b[i] | b[i + 1] << 8));
      if (typed.type == t::kExpandString) return ToUtf8(text.substr(0, text.find(u'\0')));
      while (!text.empty() && text.back() == u'\0') text.pop_back();
      std::string joined;
      for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(u'\0', start), text.size());
        if (start > 0) joined += "\\0";
        joined += ToUtf8(text.substr(start, end - start));
        start = end + 1;
      }
      return joined;
    }
    case t::kQword:
      if (b.size() != 8) break;
      return HexNumber([&] {
        std::uint64_t n = 0;
        for (int i = 7; i >= 0; --i) n = n << 8 | b[static_cast<std::size_t>(i)];
        return n;
      }());
    case t::kDwordBigEndian:
      if (b.size() != 4) break;
      return HexNumber(static_cast<std::uint32_t>(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3]);
  }
  return HexBytes(b);
}

std::string DataText(const RegValue& value) {
  switch (value.type()) {
    case RegType::String:
      return ToUtf8(std::get<std::u16string>(value.data));
    case RegType::Dword:
      return HexNumber(std::get<std::uint32_t>(value.data));
    case RegType::Binary:
      return HexBytes(std::get<std::vector<std::uint8_t>>(value.data));
    case RegType::Typed:
      return TypedText(std::get<platform::TypedData>(value.data));
  }
  return {};
}

std::string ValueLine(const NamedValue& named) {
  return "    " + (named.name.empty() ? std::string("(Default)") : ToUtf8(named.name)) + "    " +
         TypeName(named.value.TypeNumber()) + "    " + DataText(named.value) + "\n";
}

std::u16string JoinPath(const std::u16string& path, const std::u16string& name) {
  return path.empty() ? name : path + u"\\" + name;
}

// The key as shown: full root name and the path without stray backslashes.
std::string KeyText(platform::RegRoot root, std::u16string_view path) {
  std::u16string text = platform::RootName(root);
  for (std::u16string_view part : platform::regnames::SplitKeyPath(path)) {
    text += u"\\";
    text += part;
  }
  return ToUtf8(text);
}

int Fail(Console& console, RegStatus status) {
  switch (status) {
    case RegStatus::Ok:
      return 0;
    case RegStatus::NotFound:
      console.err << kNotFound;
      break;
    case RegStatus::AccessDenied:
      console.err << "ERROR: Access is denied.\n";
      break;
    case RegStatus::BadKeyPath:
      console.err << "ERROR: Key names are at most 255 characters long and keys at most 512 levels deep.\n";
      break;
    case RegStatus::DiskFull:
      console.err << "ERROR: There is not enough space on the disk.\n";
      break;
    case RegStatus::Failed:
      console.err << "ERROR: The registry store could not be read or written.\n";
      break;
  }
  return 1;
}

// True when the user agrees; prints why not otherwise. Never waits on a non-interactive input.
bool Confirm(Console& console, const std::string& question) {
  if (!console.interactive) {
    console.err << "ERROR: " << question.substr(0, question.find(" (Yes/No)"))
                << ": not asked because standard input is not a terminal; add /f to go ahead.\n";
    return false;
  }
  for (;;) {
    console.out << question << std::flush;
    std::string answer;
    if (!std::getline(console.in, answer)) break;
    for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (answer == "y" || answer == "yes") return true;
    if (answer == "n" || answer == "no") break;
  }
  console.out << "The operation was cancelled.\n";
  return false;
}

std::string ValueLabel(const std::u16string& name) {
  return name.empty() ? "(Default)" : ToUtf8(name);
}

int Query(Registry& registry, const Command& command, Console& console) {
  std::vector<NamedValue> values;
  std::vector<std::u16string> subkeys;
  if (RegStatus s = registry.OpenKey(command.root, command.path); s != RegStatus::Ok) return Fail(console, s);

  if (command.value_name && !command.recurse) {
    // Listed rather than read, to show the name in its stored spelling.
    if (RegStatus s = registry.EnumValues(command.root, command.path, values); s != RegStatus::Ok) {
      return Fail(console, s);
    }
    const auto it = std::find_if(values.begin(), values.end(), [&](const NamedValue& named) {
      return platform::regnames::EqualsFolded(named.name, *command.value_name);
    });
    if (it == values.end()) return Fail(console, RegStatus::NotFound);
    console.out << "\n" << KeyText(command.root, command.path) << "\n" << ValueLine(*it) << "\n";
    return 0;
  }

  // Depth first, each key followed by its subtree, as the export lays it out.
  std::size_t matches = 0;
  std::vector<std::u16string> pending{command.path};
  while (!pending.empty()) {
    const std::u16string path = pending.back();
    pending.pop_back();
    if (RegStatus s = registry.EnumValues(command.root, path, values); s != RegStatus::Ok) return Fail(console, s);
    if (RegStatus s = registry.EnumSubkeys(command.root, path, subkeys); s != RegStatus::Ok) return Fail(console, s);
    std::string lines;
    for (const NamedValue& named : values) {
      if (command.value_name && !platform::regnames::EqualsFolded(named.name, *command.value_name)) continue;
      lines += ValueLine(named);
      ++matches;
    }
    if (!command.value_name || !lines.empty()) {
      console.out << "\n" << KeyText(command.root, path) << "\n" << lines;
    }
    if (command.recurse) {
      for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) pending.push_back(JoinPath(path, *it));
    } else {
      if (!subkeys.empty()) console.out << "\n";
      for (const std::u16string& subkey : subkeys) console.out << KeyText(command.root, JoinPath(path, subkey)) << "\n";
    }
  }
  if (command.value_name) {
    console.out << "\nEnd of search: " << matches << " match(es) found.\n";
    return matches > 0 ? 0 : 1;
  }
  return 0;
}

int Add(Registry& registry, const Command& command, Console& console) {
  if (!command.value) {
    if (RegStatus s = registry.CreateKey(command.root, command.path); s != RegStatus::Ok) return Fail(console, s);
    console.out << kDone;
    return 0;
  }
  RegValue existing;
  const RegStatus found = registry.GetValue(command.root, command.path, *command.value_name, existing);
  if (found == RegStatus::Failed) return Fail(console, found);
  if (found == RegStatus::Ok && !command.force &&
      !Confirm(console, "Value " + ValueLabel(*command.value_name) + " exists, overwrite (Yes/No)? ")) {
    return 1;
  }
  if (RegStatus s = registry.SetValue(command.root, command.path, *command.value_name, *command.value);
      s != RegStatus::Ok) {
    return Fail(console, s);
  }
  console.out << kDone;
  return 0;
}

int Delete(Registry& registry, const Command& command, Console& console) {
  if (command.value_name) {
    RegValue existing;
    if (RegStatus s = registry.GetValue(command.root, command.path, *command.value_name, existing);
        s != RegStatus::Ok) {
      return Fail(console, s);
    }
    if (!command.force &&
        !Confirm(console, "Delete the registry value " + ValueLabel(*command.value_name) + " (Yes/No)? ")) {
      return 1;
    }
    if (RegStatus s = registry.DeleteValue(command.root, command.path, *command.value_name); s != RegStatus::Ok) {
      return Fail(console, s);
    }
    console.out << kDone;
    return 0;
  }
  if (platform::regnames::SplitKeyPath(command.path).empty()) {
    console.err << "ERROR: A root key cannot be deleted.\n";
    return 1;
  }
  if (RegStatus s = registry.OpenKey(command.root, command.path); s != RegStatus::Ok) return Fail(console, s);
  if (!command.force &&
      !Confirm(console, "Permanently delete the registry key " + KeyText(command.root, command.path) + " (Yes/No)? ")) {
    return 1;
  }
  if (RegStatus s = registry.DeleteKey(command.root, command.path); s != RegStatus::Ok) return Fail(console, s);
  console.out << kDone;
  return 0;
}

int Export(Registry& registry, const Command& command, Console& console) {
  std::u16string text;
  if (RegStatus s = platform::ExportRegText(registry, command.root, command.path, text); s != RegStatus::Ok) {
    return Fail(console, s);
  }
  std::error_code ec;
  if (std::filesystem::exists(command.file, ec) && !command.force &&
      !Confirm(console, "File " + command.file + " already exists, overwrite (Yes/No)? ")) {
    return 1;
  }
  if (const std::string why = platform::WriteRegFile(command.file, platform::EncodeRegFile(text)); !why.empty()) {
    console.err << "ERROR: Cannot write " << command.file << ": " << why << "\n";
    return 1;
  }
  console.out << kDone;
  return 0;
}

int Import(Registry& registry, const Command& command, Console& console) {
  std::ifstream file(command.file, std::ios::binary);
  if (!file) {
    console.err << "ERROR: Cannot read " << command.file << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  if (file.bad()) {
    console.err << "ERROR: Cannot read " << command.file << "\n";
    return 1;
  }
  const platform::RegImportResult result = platform::ImportRegFile(registry, bytes);
  if (result.status != RegStatus::Ok) {
    console.err << "ERROR: " << command.file << ": " << result.error << "\nNothing was imported.\n";
    return 1;
  }
  console.out << kDone;
  return 0;
}

}  // namespace

int RunCommand(Registry& registry, const Command& command, Console& console) {
  switch (command.operation) {
    case Operation::Help:
      console.out << Usage();
      return 0;
    case Operation::Query:
      return Query(registry, command, console);
    case Operation::Add:
      return Add(registry, command, console);
    case Operation::Delete:
      return Delete(registry, command, console);
    case Operation::Export:
      return Export(registry, command, console);
    case Operation::Import:
      return Import(registry, command, console);
  }
  return 1;
}

}  // namespace vzreg
