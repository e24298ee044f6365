// The commands against the in-memory registry: output layout, prompts and refusals.

#include <sstream>

#include <gtest/gtest.h>

#include "platform/registry/memory_registry.h"
#include "tools/vzreg/vzreg_commands.h"

namespace vzreg {
namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegValue;

struct Outcome {
  int code;
  std::string out, err;
};

Outcome Execute(platform::Registry& reg, std::vector<std::string> args, bool interactive = false,
            const std::string& input = "") {
  const ParsedArgs parsed = ParseArgs(args);
  EXPECT_TRUE(parsed.command) << parsed.error;
  if (!parsed.command) return {-1, "", parsed.error};
  std::ostringstream out, err;
  std::istringstream in(input);
  Console console{out, err, in, interactive};
  const int code = RunCommand(reg, *parsed.command, console);
  return {code, out.str(), err.str()};
}

class VzregCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(reg_->SetValue(RegRoot::CurrentUser, u"Software\\Orvex", u"", RegValue::Text(u"dflt")), RegStatus::Ok);
    ASSERT_EQ(reg_->SetValue(RegRoot::CurrentUser, u"Software\\Orvex", u"Title", RegValue::Text(u"Grüße")), RegStatus::Ok);
    ASSERT_EQ(reg_->SetValue(RegRoot::CurrentUser, u"Software\\Orvex", u"GENERAL\\VUZOzaExit", RegValue::Dword(255)),
              RegStatus::Ok);
    ASSERT_EQ(reg_->SetValue(RegRoot::CurrentUser, u"Software\\Orvex\\Sub", u"Bin", RegValue::Binary({0x0A, 0xFF})),
              RegStatus::Ok);
    ASSERT_EQ(reg_->CreateKey(RegRoot::CurrentUser, u"Software\\Orvex\\Sub\\Deeper"), RegStatus::Ok);
  }
  std::unique_ptr<platform::MemoryRegistry> reg_ = platform::CreateMemoryRegistry();
};

TEST_F(VzregCommands, QueryPrintsKeysAndValuesLikeReg) {
  Outcome run = Execute(*reg_, {"query", "hkcu\\Software\\\\Orvex\\"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "\nHKEY_CURRENT_USER\\Software\\Orvex\n"
            "    (Default)    REG_SZ    dflt\n"
            "    Title    REG_SZ    Grüße\n"
            "    GENERAL\\VUZOzaExit    REG_DWORD    0xff\n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\Orvex\\Sub\n");

  run = Execute(*reg_, {"query", "HKCU\\Software\\Orvex", "/s"});
  EXPECT_EQ(run.out,
            "\nHKEY_CURRENT_USER\\Software\\Orvex\n"
            "    (Default)    REG_SZ    dflt\n"
            "    Title    REG_SZ    Grüße\n"
            "    GENERAL\\VUZOzaExit    REG_DWORD    0xff\n"
            "\nHKEY_CURRENT_USER\\Software\\Orvex\\Sub\n"
            "    Bin    REG_BINARY    0AFF\n"
            "\nHKEY_CURRENT_USER\\Software\\Orvex\\Sub\\Deeper\n");

  run = Execute(*reg_, {"query", "HKCU\\Software\\Orvex", "/v", "general\\vuzozaexit"});
  EXPECT_EQ(run.out, "\nHKEY_CURRENT_USER\\Software\\Orvex\n    GENERAL\\VUZOzaExit    REG_DWORD    0xff\n\n");

  run = Execute(*reg_, {"query", "HKCU\\Software", "/v", "bin", "/s"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out,
            "\nHKEY_CURRENT_USER\\Software\\Orvex\\Sub\n    Bin    REG_BINARY    0AFF\n"
            "\nEnd of search: 1 match(es) found.\n");

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"query", "HKCU\\Missing"}, {"query", "HKCU\\Software\\Orvex", "/v", "missing"}}) {
    run = Execute(*reg_, args);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("unable to find"), std::string::npos);
  }
}

TEST_F(VzregCommands, OverwriteAndDeleteAskFirstUnlessForced) {
  struct Case {
    std::vector<std::string> args;
    bool interactive;
    std::string input;
    int code;
    const char* prompt;  // expected on stdout, or "" when nothing is asked
    bool changed;
  };
  const Case cases[] = {
      {{"add", "HKCU\\Software\\Orvex", "/v", "Title", "/d", "new"}, true, "yes\n", 0, "Value Title exists, overwrite (Yes/No)? ", true},
      {{"add", "HKCU\\Software\\Orvex", "/v", "Title", "/d", "new"}, true, "maybe\nN\n", 1, "overwrite (Yes/No)? Value Title", false},
      {{"add", "HKCU\\Software\\Orvex", "/v", "Title", "/d", "new"}, true, "", 1, "overwrite", false},
      {{"add", "HKCU\\Software\\Orvex", "/v", "Title", "/d", "new"}, false, "yes\n", 1, "", false},
      {{"add", "HKCU\\Software\\Orvex", "/v", "Title", "/d", "new", "/f"}, false, "", 0, "", true},
      {{"add", "HKCU\\Software\\Orvex", "/v", "Fresh", "/d", "new"}, false, "", 0, "", true},
      {{"delete", "HKCU\\Software\\Orvex", "/v", "Title"}, true, "y\n", 0, "Delete the registry value Title (Yes/No)? ", true},
      {{"delete", "HKCU\\Software\\Orvex", "/v", "Title"}, false, "y\n", 1, "", false},
      {{"delete", "HKCU\\Software\\Orvex", "/ve", "/f"}, false, "", 0, "", true},
      {{"delete", "HKCU\\Software\\Orvex\\Sub"}, true, "no\n",  1,
       "Permanently delete the registry key HKEY_CURRENT_USER\\Software\\Orvex\\Sub (Yes/No)? ", false},
      {{"delete", "HKCU\\Software\\Orvex\\Sub", "/f"}, false, "", 0, "", true},
  };
  for (const Case& c : cases) {
    std::string trace = c.interactive ? "interactive, input " + c.input + ":" : "not interactive:";
    for (const std::string& arg : c.args) trace += " " + arg;
    SCOPED_TRACE(trace);
    SetUp();
    const std::string before = Execute(*reg_, {"query", "HKCU\\Software", "/s"}).out;
    const Outcome run = Execute(*reg_, c.args, c.interactive, c.input);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.out.find(c.prompt), std::string::npos) << run.out;
    if (!c.interactive && c.code != 0) {
      EXPECT_NE(run.err.find("/f"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Execute(*reg_, {"query", "HKCU\\Software", "/s"}).out != before, c.changed);
    reg_ = platform::CreateMemoryRegistry();
  }
}

TEST_F(VzregCommands, RefusalsOfTheStoreAreReported) {
  reg_->DenyWrites(RegRoot::CurrentUser, u"Software");
  Outcome run = Execute(*reg_, {"add", "HKCU\\Software\\Orvex", "/v", "x", "/d", "1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "ERROR: Access is denied.\n");

  run = Execute(*reg_, {"delete", "HKLM", "/f"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("root key cannot be deleted"), std::string::npos);

  reg_->ClearFaults();
  reg_->FailNextReads(1);
  run = Execute(*reg_, {"query", "HKCU\\Software"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("could not be read"), std::string::npos);

  reg_->FailNextWrites(1, RegStatus::DiskFull);
  run = Execute(*reg_, {"add", "HKCU\\Software\\Orvex", "/v", "y", "/d", "1"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "ERROR: There is not enough space on the disk.\n");

  run = Execute(*reg_, {"add", "HKCU\\Software\\" + std::string(256, 'n')});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("at most 255 characters"), std::string::npos) << run.err;
}

// Values of the other types, shown the way reg shows them.
TEST_F(VzregCommands, QueryShowsEveryValueType) {
  namespace t = platform::regtype;
  auto text = [](std::u16string_view chars) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : chars) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
    return bytes;
  };
  auto reg = platform::CreateMemoryRegistry();
  const struct {
    const char16_t* name;
    RegValue value;
  } values[] = {
      {u"Expand", RegValue::Typed(t::kExpandString, text(std::u16string(u"%Home%\\x\0", 10)))},
      {u"Multi", RegValue::Typed(t::kMultiString, text(std::u16string(u"one\0two\0\0", 10)))},
      {u"Qword", RegValue::Typed(t::kQword, {0x10, 0x32, 0x54, 0x76, 0x98, 0xba, 0xdc, 0xfe})},
      {u"Big", RegValue::Typed(t::kDwordBigEndian, {0, 0, 1, 0})},
      {u"None", RegValue::Typed(t::kNone, {0xAB})},
      {u"Short", RegValue::Typed(t::kQword, {1, 2})},
      {u"Own", RegValue::Typed(0x20, {1, 2})},
  };
  for (const auto& v : values) ASSERT_EQ(reg->SetValue(RegRoot::CurrentUser, u"T", v.name, v.value), RegStatus::Ok);
  EXPECT_EQ(Execute(*reg, {"query", "HKCU\\T"}).out,
            "\nHKEY_CURRENT_USER\\T\n"
            "    Expand    REG_EXPAND_SZ    %Home%\\x\n"
            "    Multi    REG_MULTI_SZ    one\\0two\n"
            "    Qword    REG_QWORD    0xfedcba9876543210\n"
            "    Big    REG_DWORD_BIG_ENDIAN    0x100\n"
            "    None    REG_NONE    AB\n"
            "    Short    REG_QWORD    0102\n"
            "    Own    REG_UNKNOWN(0x20)    0102\n");
}

}  // namespace
}  // namespace vzreg
