#pragma once
// Command line of vzreg, in the manner of the Windows `reg` tool:
//   vzreg query  KEY [/v NAME | /ve] [/s]
//   vzreg add    KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]
//   vzreg delete KEY [/v NAME | /ve] [/f]
//   vzreg export KEY FILE [/y]
//   vzreg import FILE
// Options may start with '/' or '-' and are case-insensitive.

#include <optional>
#include <string>
#include <vector>

#include "platform/registry/registry.h"

namespace vzreg {

enum class Operation { Help, Query, Add, Delete, Export, Import };

struct Command {
  Operation operation = Operation::Help;
  platform::RegRoot root = platform::RegRoot::CurrentUser;
  std::u16string path;                       // below the root
  std::optional<std::u16string> value_name;  // /v NAME; empty for /ve (the default value)
  std::optional<platform::RegValue> value;   // add: the data converted to its type
  bool recurse = false;                      // query /s
  bool force = false;                        // /f, or /y for export: no confirmation prompt
  std::string file;                          // export, import
};

struct ParsedArgs {
  std::optional<Command> command;  // set when the arguments are valid
  std::string error;               // otherwise, what is wrong
};

// `args` excludes the program name.
ParsedArgs ParseArgs(const std::vector<std::string>& args);

std::string Usage();

}  // namespace vzreg
