#include <gtest/gtest.h>

#include "tools/vzreg/vzreg_args.h"

namespace vzreg {
namespace {

using platform::RegRoot;
using platform::RegValue;

TEST(VzregArgs, AcceptedCommandLines) {
  struct Case {
    std::vector<std::string> args;
    Operation operation;
    RegRoot root;
    std::u16string path;
    std::optional<std::u16string> value_name;
    std::optional<RegValue> value;
    bool recurse, force;
    std::string file;
  };
  const Case cases[] = {
      {{"query", "HKCU\\Software\\Orvex"}, Operation::Query, RegRoot::CurrentUser, u"Software\\Orvex", {}, {}, false, false, ""},
      {{"QUERY", "hklm\\SYSTEM", "-S", "/V", "Name"}, Operation::Query, RegRoot::LocalMachine, u"SYSTEM", u"Name", {}, true, false, ""},
      {{"query", "HKEY_LOCAL_MACHINE", "/ve"}, Operation::Query, RegRoot::LocalMachine, u"", u"", {}, false, false, ""},
      {{"add", "HKCU\\K"}, Operation::Add, RegRoot::CurrentUser, u"K", {}, {}, false, false, ""},
      {{"add", "HKCU\\K", "/v", "GENERAL\\Flag", "/t", "reg_dword", "/d", "0x1F", "/f"}, Operation::Add,
       RegRoot::CurrentUser, u"K", u"GENERAL\\Flag", RegValue::Dword(31), false, true, ""},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "4294967295"}, Operation::Add,
       RegRoot::CurrentUser, u"K", u"n", RegValue::Dword(0xFFFFFFFF), false, false, ""},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD"}, Operation::Add, RegRoot::CurrentUser, u"K", u"n",
       RegValue::Dword(0), false, false, ""},
      {{"add", "HKCU\\K", "/v", "b", "/t", "REG_BINARY", "/d", "00aBFf"}, Operation::Add, RegRoot::CurrentUser,
       u"K", u"b", RegValue::Binary({0, 0xAB, 0xFF}), false, false, ""},
      {{"add", "HKCU\\K", "/d", "Grüße -x"}, Operation::Add, RegRoot::CurrentUser, u"K", u"",
       RegValue::Text(u"Grüße -x"), false, false, ""},
      {{"add", "HKCU\\K", "/v", "-dash", "/d", "/d"}, Operation::Add, RegRoot::CurrentUser, u"K", u"-dash",
       RegValue::Text(u"/d"), false, false, ""},
      {{"delete", "HKCU\\K", "/ve", "/F"}, Operation::Delete, RegRoot::CurrentUser, u"K", u"", {}, false, true, ""},
      {{"export", "HKCU\\K", "/tmp/out.reg", "/y"}, Operation::Export, RegRoot::CurrentUser, u"K", {}, {}, false, true,
       "/tmp/out.reg"},
      {{"import", "/tmp/in.reg"}, Operation::Import, RegRoot::CurrentUser, u"", {}, {}, false, false, "/tmp/in.reg"},
      {{"/?"}, Operation::Help, RegRoot::CurrentUser, u"", {}, {}, false, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
    const ParsedArgs parsed = ParseArgs(c.args);
    ASSERT_TRUE(parsed.command) << parsed.error;
    const Command& command = *parsed.command;
    EXPECT_EQ(command.operation, c.operation);
    EXPECT_EQ(command.root, c.root);
    EXPECT_EQ(command.path, c.path);
    EXPECT_EQ(command.value_name, c.value_name);
    EXPECT_EQ(command.value, c.value);
    EXPECT_EQ(command.recurse, c.recurse);
    EXPECT_EQ(command.force, c.force);
    EXPECT_EQ(command.file, c.file);
  }
}

TEST(VzregArgs, RejectedCommandLinesSayWhy) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{}, "no operation"},
      {{"list", "HKCU"}, "unknown operation"},
      {{"query"}, "takes a key"},
      {{"query", "HKCU\\a", "HKCU\\b"}, "takes a key"},
      {{"query", "HKCR\\x"}, "invalid key"},
      {{"query", "Software\\x"}, "invalid key"},
      {{"query", "HKCU", "/f"}, "not valid for query"},
      {{"query", "HKCU", "-x"}, "not valid for query"},
      {{"query", "HKCU", "/v"}, "needs an argument"},
      {{"query", "HKCU", "/v", "a", "/ve"}, "exclude each other"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_MULTI_SZ"}, "unsupported type"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "-1"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "0x"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "12ab"}, "invalid REG_DWORD"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_BINARY", "/d", "abc"}, "invalid REG_BINARY"},
      {{"add", "HKCU\\K", "/v", "n", "/t", "REG_BINARY", "/d", "zz"}, "invalid REG_BINARY"},
      {{"add", "HKCU\\K", "/v", "n", "/d", "\xC3("}, "not valid UTF-8"},
      {{"export", "HKCU\\K"}, "a key and a file name"},
      {{"import"}, "a file name"},
  };
  for (const Case& c : cases) {
    const ParsedArgs parsed = ParseArgs(c.args);
    EXPECT_FALSE(parsed.command);
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
  }
}

}  // namespace
}  // namespace vzreg
