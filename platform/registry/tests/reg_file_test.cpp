// The .reg text format: export layout, round trips, the accepted spellings, and bad files that
// must change nothing.

#include <gtest/gtest.h>

#include "platform/registry/memory_registry.h"
#include "platform/registry/reg_file.h"
#include "platform/registry/reg_names.h"
#include "platform/registry/tests/temp_dir.h"
#include "platform/text/text.h"

namespace platform {
namespace {

constexpr RegRoot kCU = RegRoot::CurrentUser;
constexpr RegRoot kLM = RegRoot::LocalMachine;

std::vector<std::uint8_t> Utf8File(std::string_view text) { return {text.begin(), text.end()}; }

std::u16string U16(std::string_view utf8) { return *platform::FromUtf8Strict(utf8); }

// Everything below both roots as .reg text, to compare whole registries.
std::u16string Dump(Registry& reg) {
  std::u16string all, one;
  for (RegRoot root : {kCU, kLM}) {
    EXPECT_EQ(ExportRegText(reg, root, u"", one), RegStatus::Ok);
    all += one;
  }
  return all;
}

TEST(RegFileExport, WritesTheEditorLayout) {
  auto reg = CreateMemoryRegistry();
  ASSERT_EQ(reg->SetValue(kCU, u"Software\\Orvex", u"", RegValue::Text(u"default")), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Software\\Orvex", u"Path", RegValue::Text(u"C:\\a \"b\"")), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Software\\Orvex", u"GENERAL\\VUZOzaExit", RegValue::Dword(10)), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Software\\Orvex\\Sub", u"Bin", RegValue::Binary({1, 0xAB})), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Software\\Orvex\\Sub", u"Lines", RegValue::Text(u"a\nb")), RegStatus::Ok);
  ASSERT_EQ(reg->CreateKey(kCU, u"Software\\Orvex\\Empty"), RegStatus::Ok);

  std::u16string text;
  ASSERT_EQ(ExportRegText(*reg, kCU, u"software\\ORVEX\\", text), RegStatus::Ok);
  EXPECT_EQ(platform::ToUtf8(text),
            "Windows Registry Editor Version 5.00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Orvex]\r\n"
            "@=\"default\"\r\n"
            "\"Path\"=\"C:\\\\a \\\"b\\\"\"\r\n"
            "\"GENERAL\\\\VUZOzaExit\"=dword:0000000a\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Orvex\\Sub]\r\n"
            "\"Bin\"=hex:01,ab\r\n"
            "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Orvex\\Empty]\r\n"
            "\r\n");
  EXPECT_EQ(ExportRegText(*reg, kCU, u"Software\\Missing", text), RegStatus::NotFound);

  const auto bytes = EncodeRegFile(u"W€");
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xFF, 0xFE, 'W', 0, 0xAC, 0x20}));
}

TEST(RegFileExport, ImportOfAnExportRebuildsTheSameTree) {
  auto source = CreateMemoryRegistry();
  std::vector<std::uint8_t> long_bytes(300);
  for (std::size_t i = 0; i < long_bytes.size(); ++i) long_bytes[i] = static_cast<std::uint8_t>(i * 7);
  const std::u16string awkward{u'q', u'"', u'\\', u'\r', u'\n', u'\0', 0xD800, u'é', u';'};
  ASSERT_EQ(source->SetValue(kCU, u"A\\[odd] key;", u"=\"x\"=", RegValue::Text(awkward)), RegStatus::Ok);
  ASSERT_EQ(source->SetValue(kCU, u"A\\[odd] key;", u"long", RegValue::Binary(long_bytes)), RegStatus::Ok);
  ASSERT_EQ(source->SetValue(kCU, u"A", u"", RegValue::Binary({})), RegStatus::Ok);
  ASSERT_EQ(source->SetValue(kCU, u"", u"at root", RegValue::Dword(0xFFFFFFFF)), RegStatus::Ok);
  ASSERT_EQ(source->SetValue(kLM, u"SYSTEM\\Ünïcode", u"\\", RegValue::Text(u"")), RegStatus::Ok);

  auto copy = CreateMemoryRegistry();
  for (RegRoot root : {kCU, kLM}) {
    std::u16string text;
    ASSERT_EQ(ExportRegText(*source, root, u"", text), RegStatus::Ok);
    const auto result = ImportRegFile(*copy, EncodeRegFile(text));
    ASSERT_EQ(result.status, RegStatus::Ok) << result.error;
  }
  EXPECT_EQ(Dump(*copy), Dump(*source));
  RegValue value;
  ASSERT_EQ(copy->GetValue(kCU, u"A\\[odd] key;", u"=\"x\"=", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Text(awkward));
}

TEST(RegFileImport, AcceptsEncodingsSpellingsAndDeletions) {
  auto reg = CreateMemoryRegistry();
  ASSERT_EQ(reg->SetValue(kCU, u"Old\\Tree\\Deep", u"x", RegValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Keep", u"gone", RegValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg->SetValue(kCU, u"Keep", u"stays", RegValue::Dword(2)), RegStatus::Ok);
  const std::string text =
      "\r\n"
      "Windows Registry Editor Version 5.00\r\n"
      "; a comment\r\n"
      "\r\n"
      "[-HKEY_CURRENT_USER\\Old]\r\n"
      "[-HKCU\\Never\\Existed]\n"
      "[hkcu\\Keep]\n"
      "\"gone\"=-\n"
      "\"missing too\"=-\n"
      "  [HKEY_LOCAL_MACHINE\\SYSTEM\\Net]  \n"
      "@=\"dflt\"\n"
      "\"Text\"=\"Grüße \\\"q\\\" C:\\\\x\"\n"
      "\"Num\"=DWORD:A\n"
      "\"Bytes\"=hex:01,02,\\\n"
      "   03 , 0f,\\\n"
      "  ff\n"
      "\"Empty\"=hex:\n"
      "\"Typed text\"=hex(1):41,00,42,00,00,00\n"
      "\"Typed number\"=hex(4):01,02,00,00\n"
      "\"Typed binary\"=hex(3):09\n"
      "[HKLM]\n"
      "\"root value\" = dword:00000001\n";

  std::vector<std::uint8_t> utf8_bom{0xEF, 0xBB, 0xBF};
  utf8_bom.insert(utf8_bom.end(), text.begin(), text.end());
  const std::vector<std::vector<std::uint8_t>> encodings = {
      Utf8File(text), utf8_bom, EncodeRegFile(U16(text))};
  std::u16string first_result;
  for (const auto& bytes : encodings) {
    auto copy = CreateMemoryRegistry();
    ASSERT_EQ(copy->SetValue(kCU, u"Old\\Tree\\Deep", u"x", RegValue::Dword(1)), RegStatus::Ok);
    ASSERT_EQ(copy->SetValue(kCU, u"Keep", u"gone", RegValue::Dword(1)), RegStatus::Ok);
    ASSERT_EQ(copy->SetValue(kCU, u"Keep", u"stays", RegValue::Dword(2)), RegStatus::Ok);
    const auto result = ImportRegFile(*copy, bytes);
    ASSERT_EQ(result.status, RegStatus::Ok) << result.error;
    if (first_result.empty()) {
      first_result = Dump(*copy);
    } else {
      EXPECT_EQ(Dump(*copy), first_result);
    }
  }
  ASSERT_EQ(ImportRegFile(*reg, Utf8File(text)).status, RegStatus::Ok);

  EXPECT_EQ(reg->OpenKey(kCU, u"Old"), RegStatus::NotFound);
  std::vector<NamedValue> values;
  ASSERT_EQ(reg->EnumValues(kCU, u"Keep", values), RegStatus::Ok);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, u"stays");

  struct Expected {
    const char16_t* name;
    RegValue value;
  };
  const Expected expected[] = {
      {u"", RegValue::Text(u"dflt")},
      {u"Text", RegValue::Text(u"Grüße \"q\" C:\\x")},
      {u"Num", RegValue::Dword(10)},
      {u"Bytes", RegValue::Binary({1, 2, 3, 0x0F, 0xFF})},
      {u"Empty", RegValue::Binary({})},
      {u"Typed text", RegValue::Text(u"AB")},
      {u"Typed number", RegValue::Dword(0x201)},
      {u"Typed binary", RegValue::Binary({9})},
  };
  for (const Expected& e : expected) {
    RegValue value;
    ASSERT_EQ(reg->GetValue(kLM, u"SYSTEM\\Net", e.name, value), RegStatus::Ok);
    EXPECT_EQ(value, e.value);
  }
  RegValue value;
  ASSERT_EQ(reg->GetValue(kLM, u"", u"root value", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Dword(1));
}

// Each bad file must be refused with its line number and leave the registry as it was, even
// when good lines come before the bad one.
TEST(RegFileImport, MalformedFilesNameTheLineAndChangeNothing) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n[HKCU\\Target]\n\"good\"=dword:1\n";
  struct Case {
    std::vector<std::uint8_t> bytes;
    const char* error;
  };
  std::vector<std::uint8_t> odd_utf16 = EncodeRegFile(U16(header + "\"x\"=\"y\"\n"));
  odd_utf16.push_back('z');
  std::vector<std::uint8_t> big_endian{0xFE, 0xFF, 0, 'W'};
  const std::string huge_line(1 << 20, 'x');
  std::string deep;
  for (int level = 0; level < 513; ++level) deep += "\\k";
  const Case cases[] = {
      {Utf8File(""), "line 1: "},
      {Utf8File("REGEDIT4\n"), "line 1: "},
      {Utf8File("\n\nWindows Registry Editor Version 4.00\n"), "line 3: "},
      {Utf8File(header + "\"v\"=dword:123456789\n"), "line 5: "},
      {Utf8File(header + "\"v\"=dword:\n"), "line 5: "},
      {Utf8File(header + "\"v\"=dword:12g\n"), "line 5: "},
      {Utf8File(header + "\"v\"=\"unterminated\n"), "line 5: "},
      {Utf8File(header + "\"v\"=\"a\"b\n"), "line 5: "},
      {Utf8File(header + "\"v\"=\"bad \\n escape\"\n"), "line 5: "},
      {Utf8File(header + "\"v\"\n"), "line 5: "},
      {Utf8File(header + "\"v\"=something\n"), "line 5: "},
      {Utf8File(header + "\"v\"=hex:1,2,300\n"), "line 5: "},
      {Utf8File(header + "\"v\"=hex:01,,02\n"), "line 5: "},
      {Utf8File(header + "\"v\"=hex:01,02,\\\n03,\\\n"), "line 5: "},
      {Utf8File(header + "[HKCU" + deep + "]\n"), "line 5: key path deeper than 512 levels"},
      {Utf8File(header + "[HKCU\\" + std::string(256, 'n') + "]\n"), "line 5: key name longer than 255 characters"},
      {Utf8File(header + "\"v\"=hex(1):41\n"), "line 5: "},
      {Utf8File(header + "\"v\"=hex(4):01,02\n"), "line 5: "},
      {Utf8File(header + "\"v\"=hex(:01\n"), "line 5: "},
      {Utf8File(header + "[HKEY_CLASSES_ROOT\\x]\n"), "line 5: "},
      {Utf8File(header + "[HKCU\\unclosed\n"), "line 5: "},
      {Utf8File(header + "[-HKCU\\Target]\n\"v\"=dword:1\n"), "line 6: "},
      {Utf8File(header + "stray text\n"), "line 5: "},
      {Utf8File(header + "\"v\"=\"\xC3(\"\n"), "line 5: "},
      {Utf8File("Windows Registry Editor Version 5.00\n\"v\"=dword:1\n"), "line 2: "},
      {Utf8File(header + "\"v\"=\"" + huge_line + "\n"), "line 5: "},
      {Utf8File(header + huge_line + "\n"), "line 5: "},
      {odd_utf16, "line 6: "},
      {big_endian, "line 1: "},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    auto reg = CreateMemoryRegistry();
    ASSERT_EQ(reg->SetValue(kCU, u"Target", u"good", RegValue::Dword(7)), RegStatus::Ok);
    const std::u16string before = Dump(*reg);
    const RegImportResult result = ImportRegFile(*reg, cases[i].bytes);
    EXPECT_NE(result.status, RegStatus::Ok);
    EXPECT_TRUE(result.error.starts_with(cases[i].error)) << result.error;
    EXPECT_LT(result.error.size(), 200u) << "the message must not echo the input";
    EXPECT_EQ(Dump(*reg), before);
  }
}

// A file as the editor exports values of every other type: expandable and multiple texts,
// 64-bit and big-endian numbers, no data, and a type number of its own. Imported into either
// store, it exports again byte for byte.
TEST(RegFileImport, EveryValueTypeRoundTripsByteForByte) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Orvex]\r\n"
      "\"Path\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
      "  00,25,00,5c,00,73,00,79,00,73,00,74,00,65,00,6d,00,33,00,32,00,3b,00,25,00,\\\r\n"
      "  50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,69,00,6c,00,65,00,73,00,25,\\\r\n"
      "  00,5c,00,4f,00,72,00,76,00,65,00,78,00,5c,00,56,00,75,00,7a,00,69,00,64,00,\\\r\n"
      "  65,00,7a,00,61,00,00,00\r\n"
      "\"Servers\"=hex(7):72,00,61,00,64,00,69,00,75,00,73,00,2d,00,61,00,00,00,72,00,\\\r\n"
      "  61,00,64,00,69,00,75,00,73,00,2d,00,62,00,00,00,00,00\r\n"
      "\"Uptime\"=hex(b):10,32,54,76,98,ba,dc,fe\r\n"
      "\"Nothing\"=hex(0):\r\n"
      "\"Backwards\"=hex(5):00,00,01,00\r\n"
      "\"Odd\"=hex(20):01,02\r\n"
      "\r\n";
  const std::vector<std::uint8_t> file = EncodeRegFile(U16(text));
  testing::TempDir dir;
  OpenRegistryResult sqlite = OpenSqliteRegistry(dir.path());
  ASSERT_TRUE(sqlite.registry) << sqlite.error;
  auto memory = CreateMemoryRegistry();
  for (Registry* reg : {static_cast<Registry*>(memory.get()), sqlite.registry.get()}) {
    const RegImportResult result = ImportRegFile(*reg, file);
    ASSERT_EQ(result.status, RegStatus::Ok) << result.error;
    RegValue value;
    ASSERT_EQ(reg->GetValue(kCU, u"Software\\Orvex", u"uptime", value), RegStatus::Ok);
    EXPECT_EQ(value, RegValue::Typed(regtype::kQword, {0x10, 0x32, 0x54, 0x76, 0x98, 0xba, 0xdc, 0xfe}));
    EXPECT_EQ(value.type(), RegType::Typed);
    std::u16string exported;
    ASSERT_EQ(ExportRegText(*reg, kCU, u"Software\\Orvex", exported), RegStatus::Ok);
    EXPECT_EQ(platform::ToUtf8(exported), text);
    EXPECT_EQ(EncodeRegFile(exported), file);
  }
}

TEST(RegFileImport, AOneMegabyteValueLineImports) {
  auto reg = CreateMemoryRegistry();
  const std::string text(1 << 20, 'v');
  std::string hex;
  for (int i = 0; i < (1 << 20) / 3; ++i) hex += (i % 20 == 19) ? "ab,\\\n  " : "ab,";
  hex += "cd";
  const RegImportResult result = ImportRegFile(
      *reg, Utf8File("Windows Registry Editor Version 5.00\n[HKCU\\Big]\n\"t\"=\"" + text +
                     "\"\n\"h\"=hex:" + hex + "\n"));
  ASSERT_EQ(result.status, RegStatus::Ok) << result.error;
  RegValue value;
  ASSERT_EQ(reg->GetValue(kCU, u"Big", u"t", value), RegStatus::Ok);
  EXPECT_EQ(std::get<std::u16string>(value.data).size(), text.size());
  ASSERT_EQ(reg->GetValue(kCU, u"Big", u"h", value), RegStatus::Ok);
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(value.data).size(), (1u << 20) / 3 + 1);
}

TEST(RegFileImport, ARefusedWriteNamesItsLineAndRollsBackEverything) {
  auto reg = CreateMemoryRegistry();
  reg->DenyWrites(kLM, u"SYSTEM");
  const RegImportResult result = ImportRegFile(
      *reg, Utf8File("Windows Registry Editor Version 5.00\n[HKCU\\First]\n\"a\"=dword:1\n"
                     "[HKLM\\SYSTEM\\x]\n\"b\"=dword:2\n"));
  EXPECT_EQ(result.status, RegStatus::AccessDenied);
  EXPECT_EQ(result.error, "line 4: HKEY_LOCAL_MACHINE\\SYSTEM\\x: access denied");
  EXPECT_EQ(reg->OpenKey(kCU, u"First"), RegStatus::NotFound);
}

}  // namespace
}  // namespace platform
