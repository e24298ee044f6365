#include "tools/vzreg/vzreg_args.h"

#include <algorithm>
#include <cctype>

#include "platform/registry/reg_file.h"
#include "platform/registry/reg_names.h"
#include "platform/text/text.h"

namespace vzreg {
namespace {

using platform::RegValue;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Only the known option names count as options after a '/', so that an absolute file name
// is not taken for one; after a '-' anything is an option.
bool IsOption(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
  if (arg[0] == '-') return true;
  const std::string name = Lower(arg.substr(1));
  return name == "v" || name == "ve" || name == "s" || name == "t" || name == "d" || name == "f" ||
         name == "y";
}

std::optional<std::uint32_t> ParseDword(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  std::uint64_t number = 0;
  for (char c : digits) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : hex && std::isxdigit(static_cast<unsigned char>(c))
                          ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                          : -1;
    if (digit < 0) return std::nullopt;
    number = number * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
  }
  if (number > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

std::optional<std::vector<std::uint8_t>> ParseBinary(const std::string& text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> value_name, type, data;
  bool default_value = false, recurse = false, force = false, yes = false;
};

ParsedArgs Error(std::string why) { return {std::nullopt, std::move(why)}; }

}  // namespace

ParsedArgs ParseArgs(const std::vector<std::string>& args) {
  if (args.empty()) return Error("no operation given");
  const std::string operation = Lower(args[0]);
  if (operation == "/?" || operation == "-?" || operation == "-h" || operation == "--help") {
    return {Command{}, {}};
  }
  struct Known {
    const char* name;
    Operation operation;
    std::size_t positional;  // KEY and FILE arguments
    const char* options;     // allowed options, space-separated
  };
  static const Known kKnown[] = {
      {"query", Operation::Query, 1, "/v /ve /s"},
      {"add", Operation::Add, 1, "/v /ve /t /d /f"},
      {"delete", Operation::Delete, 1, "/v /ve /f"},
      {"export", Operation::Export, 2, "/y"},
      {"import", Operation::Import, 1, ""},
  };
  const auto known = std::find_if(std::begin(kKnown), std::end(kKnown),
                                  [&](const Known& k) { return operation == k.name; });
  if (known == std::end(kKnown)) return Error("unknown operation \"" + args[0] + "\"");

  Options options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!IsOption(args[i])) {
      options.positional.push_back(args[i]);
      continue;
    }
    const std::string option = "/" + Lower(args[i].substr(1));
    const std::string allowed = std::string(" ") + known->options + " ";
    if (allowed.find(" " + option + " ") == std::string::npos) {
      return Error("option " + args[i] + " is not valid for " + known->name);
    }
    const bool takes_argument = option == "/v" || option == "/t" || option == "/d";
    if (takes_argument && i + 1 == args.size()) return Error("option " + args[i] + " needs an argument");
    if (option == "/v") options.value_name = args[++i];
    if (option == "/t") options.type = args[++i];
    if (option == "/d") options.data = args[++i];
    options.default_value |= option == "/ve";
    options.recurse |= option == "/s";
    options.force |= option == "/f" || option == "/y";
  }
  if (options.positional.size() != known->positional) {
    return Error(std::string(known->name) + " takes " +
                 (known->positional == 2 ? "a key and a file name" : known->operation == Operation::Import ? "a file name" : "a key"));
  }
  if (options.value_name && options.default_value) return Error("/v and /ve exclude each other");

  Command command;
  command.operation = known->operation;
  command.recurse = options.recurse;
  command.force = options.force;
  if (command.operation == Operation::Import) {
    command.file = options.positional[0];
    return {command, {}};
  }
  if (command.operation == Operation::Export) command.file = options.positional[1];

  const auto key = platform::FromUtf8Strict(options.positional[0]);
  const auto rooted = key ? platform::ParseRootedKey(*key) : std::nullopt;
  if (!rooted) {
    return Error("invalid key \"" + options.positional[0] +
                 "\": it must start with HKCU, HKLM, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE");
  }
  command.root = rooted->root;
  command.path = rooted->path;

  if (options.value_name) {
    auto name = platform::FromUtf8Strict(*options.value_name);
    if (!name) return Error("the value name is not valid UTF-8");
    command.value_name = std::move(*name);
  } else if (options.default_value) {
    command.value_name = u"";
  }

  if (command.operation == Operation::Add && (options.type || options.data || command.value_name)) {
    // Type or data without a name address the default value, as in reg.
    if (!command.value_name) command.value_name = u"";
    const std::string type = options.type ? Lower(*options.type) : "reg_sz";
    const std::string data = options.data.value_or("");
    if (type == "reg_sz") {
      auto text = platform::FromUtf8Strict(data);
      if (!text) return Error("the data is not valid UTF-8");
      command.value = RegValue::Text(std::move(*text));
    } else if (type == "reg_dword") {
      const auto number = options.data ? ParseDword(data) : std::optional<std::uint32_t>(0);
      if (!number) return Error("invalid REG_DWORD data \"" + data + "\": give 0 to 4294967295 or 0x0 to 0xffffffff");
      command.value = RegValue::Dword(*number);
    } else if (type == "reg_binary") {
      auto bytes = ParseBinary(data);
      if (!bytes) return Error("invalid REG_BINARY data \"" + data + "\": give pairs of hexadecimal digits");
      command.value = RegValue::Binary(std::move(*bytes));
    } else {
      return Error("unsupported type \"" + *options.type + "\": use REG_SZ, REG_DWORD or REG_BINARY");
    }
  }
  return {command, {}};
}

std::string Usage() {
  return "Usage:\n"
         "  vzreg query  KEY [/v NAME | /ve] [/s]\n"
         "  vzreg add    KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]\n"
         "  vzreg delete KEY [/v NAME | /ve] [/f]\n"
         "  vzreg export KEY FILE [/y]\n"
         "  vzreg import FILE\n"
         "KEY starts with its root: HKCU\\Software\\... or HKLM\\SYSTEM\\...\n"
         "  /v NAME  the value NAME      /ve  the default (unnamed) value\n"
         "  /s       include all subkeys /f   do not ask before overwriting or deleting\n"
         "  /t TYPE  the value's type    /d   its data (REG_DWORD: decimal or 0x hex;\n"
         "                                    REG_BINARY: hex digit pairs)\n"
         "  /y       overwrite FILE without asking\n"
         "The store folder is $VUZIDEZA_REGISTRY_DIR, else $XDG_DATA_HOME/vuzideza or\n"
         "~/.local/share/vuzideza.\n";
}

}  // namespace vzreg
