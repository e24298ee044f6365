// One table of semantics that the in-memory fake and the SQLite store must both meet.

#include <gtest/gtest.h>

#include "platform/registry/memory_registry.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"

namespace platform {
namespace {

constexpr RegRoot kCU = RegRoot::CurrentUser;
constexpr RegRoot kLM = RegRoot::LocalMachine;

struct MemoryStore {
  std::unique_ptr<Registry> Open() { return CreateMemoryRegistry(); }
};

struct SqliteStore {
  testing::TempDir dir;
  std::unique_ptr<Registry> Open() {
    OpenRegistryResult result = OpenSqliteRegistry(dir.path());
    EXPECT_TRUE(result.registry) << result.error;
    return std::move(result.registry);
  }
};

template <class Store>
class RegistrySemantics : public ::testing::Test {
 protected:
  void SetUp() override {
    reg_ = store_.Open();
    ASSERT_TRUE(reg_);
  }

  RegValue Get(RegRoot root, std::u16string_view path, std::u16string_view name) {
    RegValue value;
    EXPECT_EQ(reg_->GetValue(root, path, name, value), RegStatus::Ok);
    return value;
  }
  std::vector<std::u16string> Subkeys(RegRoot root, std::u16string_view path) {
    std::vector<std::u16string> names;
    EXPECT_EQ(reg_->EnumSubkeys(root, path, names), RegStatus::Ok);
    return names;
  }
  std::vector<std::u16string> ValueNames(RegRoot root, std::u16string_view path) {
    std::vector<NamedValue> values;
    EXPECT_EQ(reg_->EnumValues(root, path, values), RegStatus::Ok);
    std::vector<std::u16string> names;
    for (const NamedValue& v : values) names.push_back(v.name);
    return names;
  }

  Store store_;
  std::unique_ptr<Registry> reg_;
};

using Stores = ::testing::Types<MemoryStore, SqliteStore>;
TYPED_TEST_SUITE(RegistrySemantics, Stores);

using Names = std::vector<std::u16string>;

TYPED_TEST(RegistrySemantics, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"Software\\Orvex", u"Title", RegValue::Text(u"one")), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kCU, u"SOFTWARE\\orvex", u"TITLE", RegValue::Text(u"two")), RegStatus::Ok);
  EXPECT_EQ(this->Get(kCU, u"software\\ORVEX", u"title"), RegValue::Text(u"two"));
  EXPECT_EQ(this->Subkeys(kCU, u""), Names{u"Software"});
  EXPECT_EQ(this->Subkeys(kCU, u"software"), Names{u"Orvex"});
  EXPECT_EQ(this->ValueNames(kCU, u"Software\\Orvex"), Names{u"Title"});

  struct Case {
    std::u16string written, looked_up;
    bool same;
  };
  const Case cases[] = {
      {u"Größe", u"GRÖSSE", false},  // ß has no one-letter capital
      {u"Größe", u"GRÖßE", true},
      {u"ÀÉÎÕÜ", u"àéîõü", true},
      {u"ÿ", u"Ÿ", true},
      {u"Łódź", u"łÓDŹ", true},
      {u"Ωμέγα", u"ΩΜέΓΑ", true},
      {u"Привет", u"пРИВЕТ", true},
      {u"a", u"á", false},
      {u"ı", u"İ", false},
      {u"÷", u"×", false},
      {u"key1", u"key1 ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.written.begin(), c.written.end()));
    ASSERT_EQ(reg.SetValue(kCU, u"Fold\\" + c.written, c.written, RegValue::Dword(7)), RegStatus::Ok);
    RegValue value;
    const RegStatus expected = c.same ? RegStatus::Ok : RegStatus::NotFound;
    EXPECT_EQ(reg.GetValue(kCU, u"Fold\\" + c.written, c.looked_up, value), expected);
    EXPECT_EQ(reg.OpenKey(kCU, u"fold\\" + c.looked_up), expected);
    ASSERT_EQ(reg.DeleteKey(kCU, u"Fold"), RegStatus::Ok);
  }
}

TYPED_TEST(RegistrySemantics, TypedValuesRoundTripExactly) {
  auto& reg = *this->reg_;
  struct Case {
    const char16_t* name;
    RegValue value;
    RegType type;
  };
  const std::u16string awkward{u'x', u'\0', u'y', 0xD83D, 0xDE00, 0xDC00, u'é'};
  std::vector<std::uint8_t> all_bytes(256);
  for (int i = 0; i < 256; ++i) all_bytes[i] = static_cast<std::uint8_t>(i);
  const Case cases[] = {
      {u"empty text", RegValue::Text(u""), RegType::String},
      {u"awkward text", RegValue::Text(awkward), RegType::String},
      {u"zero", RegValue::Dword(0), RegType::Dword},
      {u"max", RegValue::Dword(0xFFFFFFFFu), RegType::Dword},
      {u"no bytes", RegValue::Binary({}), RegType::Binary},
      {u"all bytes", RegValue::Binary(all_bytes), RegType::Binary},
      {u"", RegValue::Text(u"the default value"), RegType::String},
      {u"expandable", RegValue::Typed(regtype::kExpandString, {0x25, 0, 0x41, 0, 0x25, 0, 0, 0}), RegType::Typed},
      {u"no data", RegValue::Typed(regtype::kNone, {}), RegType::Typed},
      {u"own type", RegValue::Typed(0x80000001u, all_bytes), RegType::Typed},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(reg.SetValue(kLM, u"Types", c.name, c.value), RegStatus::Ok);
  }
  std::vector<NamedValue> listed;
  ASSERT_EQ(reg.EnumValues(kLM, u"Types", listed), RegStatus::Ok);
  ASSERT_EQ(listed.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(this->Get(kLM, u"Types", cases[i].name), cases[i].value);
    EXPECT_EQ(listed[i].value.type(), cases[i].type);
    EXPECT_EQ(listed[i].value, cases[i].value);
  }
  // A value may change its type in place.
  ASSERT_EQ(reg.SetValue(kLM, u"Types", u"zero", RegValue::Text(u"0")), RegStatus::Ok);
  EXPECT_EQ(this->Get(kLM, u"Types", u"zero"), RegValue::Text(u"0"));
}

// The limits of the system's registry: names of 255 characters, 512 levels.
TYPED_TEST(RegistrySemantics, KeyNamesAndDepthAreLimitedAsOnTheSystem) {
  auto& reg = *this->reg_;
  auto nested = [](std::size_t levels, std::size_t nameLength) {
    std::u16string path;
    for (std::size_t i = 0; i < levels; ++i) path += std::u16string(nameLength, u'k') + u"\\";
    return path;
  };
  EXPECT_EQ(reg.CreateKey(kCU, nested(512, 1)), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(kCU, nested(512, 1)), RegStatus::Ok);
  EXPECT_EQ(reg.CreateKey(kCU, nested(513, 1)), RegStatus::BadKeyPath);
  EXPECT_EQ(reg.SetValue(kCU, nested(513, 1), u"v", RegValue::Dword(1)), RegStatus::BadKeyPath);
  EXPECT_EQ(reg.SetValue(kCU, nested(2, 255), u"v", RegValue::Dword(1)), RegStatus::Ok);
  EXPECT_EQ(reg.CreateKey(kCU, u"a\\" + std::u16string(256, u'n')), RegStatus::BadKeyPath);
  EXPECT_EQ(reg.OpenKey(kCU, u"a"), RegStatus::NotFound) << "a refused path creates nothing";
}

TYPED_TEST(RegistrySemantics, MissingKeysAndValuesAreNotFoundAndNothingIsCreatedByReading) {
  auto& reg = *this->reg_;
  RegValue value;
  std::vector<std::u16string> names;
  std::vector<NamedValue> values;
  EXPECT_EQ(reg.OpenKey(kCU, u"Software\\None"), RegStatus::NotFound);
  EXPECT_EQ(reg.OpenKeyForWrite(kCU, u"Software\\None"), RegStatus::NotFound);
  EXPECT_EQ(reg.GetValue(kCU, u"Software\\None", u"x", value), RegStatus::NotFound);
  EXPECT_EQ(reg.EnumSubkeys(kCU, u"Software\\None", names), RegStatus::NotFound);
  EXPECT_EQ(reg.EnumValues(kCU, u"Software\\None", values), RegStatus::NotFound);
  EXPECT_EQ(reg.DeleteValue(kCU, u"Software\\None", u"x"), RegStatus::NotFound);
  EXPECT_EQ(reg.DeleteKey(kCU, u"Software\\None"), RegStatus::NotFound);
  EXPECT_EQ(reg.OpenKey(kCU, u"Software"), RegStatus::NotFound);
  EXPECT_TRUE(this->Subkeys(kCU, u"").empty());

  ASSERT_EQ(reg.SetValue(kCU, u"Software\\Orvex\\App", u"a", RegValue::Dword(1)), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(kCU, u"Software"), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKeyForWrite(kCU, u"Software\\Orvex"), RegStatus::Ok);
  EXPECT_EQ(reg.GetValue(kCU, u"Software\\Orvex\\App", u"b", value), RegStatus::NotFound);
  EXPECT_EQ(reg.GetValue(kCU, u"Software\\Orvex", u"a", value), RegStatus::NotFound);
  EXPECT_EQ(reg.CreateKey(kCU, u"Software\\Orvex\\Other\\Deep"), RegStatus::Ok);
  EXPECT_EQ(reg.CreateKey(kCU, u"Software\\Orvex\\Other\\Deep"), RegStatus::Ok);
  EXPECT_EQ(this->Subkeys(kCU, u"Software\\Orvex"), (Names{u"App", u"Other"}));
}

TYPED_TEST(RegistrySemantics, PathSpellingsWithExtraBackslashesNameTheSameKey) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"a\\b", u"v", RegValue::Dword(5)), RegStatus::Ok);
  for (const char16_t* path : {u"a\\b", u"\\a\\b", u"a\\b\\", u"a\\\\b", u"\\\\A\\\\B\\\\"}) {
    SCOPED_TRACE(std::string(path, path + std::char_traits<char16_t>::length(path)));
    EXPECT_EQ(this->Get(kCU, path, u"v"), RegValue::Dword(5));
  }
  EXPECT_EQ(this->Subkeys(kCU, u"\\"), Names{u"a"});
  EXPECT_EQ(this->Subkeys(kCU, u"a\\\\"), Names{u"b"});
}

TYPED_TEST(RegistrySemantics, ValueNamesWithBackslashesAreNamesNotPaths) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"App", u"GENERAL\\VUZOzaExit", RegValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kCU, u"App", u"\\lead\\\\double\\", RegValue::Dword(2)), RegStatus::Ok);
  EXPECT_EQ(this->Get(kCU, u"App", u"general\\vuzozaexit"), RegValue::Dword(1));
  EXPECT_EQ(this->Get(kCU, u"App", u"\\lead\\\\double\\"), RegValue::Dword(2));
  RegValue value;
  EXPECT_EQ(reg.GetValue(kCU, u"App", u"\\lead\\double\\", value), RegStatus::NotFound);
  EXPECT_TRUE(this->Subkeys(kCU, u"App").empty());
  EXPECT_EQ(this->ValueNames(kCU, u"App"), (Names{u"GENERAL\\VUZOzaExit", u"\\lead\\\\double\\"}));
}

TYPED_TEST(RegistrySemantics, DeleteKeyRemovesTheWholeSubtreeAndNothingBeside) {
  auto& reg = *this->reg_;
  for (const char16_t* path : {u"T\\a", u"T\\a\\b", u"T\\a\\b\\c", u"T\\ab", u"T\\a b", u"T\\a!"}) {
    ASSERT_EQ(reg.SetValue(kCU, path, u"v", RegValue::Text(path)), RegStatus::Ok);
  }
  ASSERT_EQ(reg.SetValue(kLM, u"T\\a", u"v", RegValue::Dword(1)), RegStatus::Ok);

  ASSERT_EQ(reg.DeleteKey(kCU, u"t\\A"), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(kCU, u"T\\a"), RegStatus::NotFound);
  EXPECT_EQ(reg.OpenKey(kCU, u"T\\a\\b\\c"), RegStatus::NotFound);
  EXPECT_EQ(this->Subkeys(kCU, u"T"), (Names{u"ab", u"a b", u"a!"}));
  EXPECT_EQ(this->Get(kCU, u"T\\ab", u"v"), RegValue::Text(u"T\\ab"));
  EXPECT_EQ(this->Get(kLM, u"T\\a", u"v"), RegValue::Dword(1));

  // Recreated, the key starts empty: no value of the deleted tree comes back.
  ASSERT_EQ(reg.CreateKey(kCU, u"T\\a\\b"), RegStatus::Ok);
  EXPECT_TRUE(this->ValueNames(kCU, u"T\\a\\b").empty());
  EXPECT_TRUE(this->Subkeys(kCU, u"T\\a\\b").empty());

  EXPECT_EQ(reg.DeleteKey(kCU, u"T\\a\\missing"), RegStatus::NotFound);
  EXPECT_EQ(reg.DeleteKey(kCU, u""), RegStatus::AccessDenied);
  EXPECT_EQ(reg.DeleteKey(kCU, u"\\"), RegStatus::AccessDenied);
  EXPECT_EQ(reg.OpenKey(kCU, u"T"), RegStatus::Ok);
}

TYPED_TEST(RegistrySemantics, DeleteValueRemovesOnlyThatValue) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"K", u"a", RegValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kCU, u"K", u"", RegValue::Dword(2)), RegStatus::Ok);
  EXPECT_EQ(reg.DeleteValue(kCU, u"K", u"A"), RegStatus::Ok);
  EXPECT_EQ(reg.DeleteValue(kCU, u"K", u"a"), RegStatus::NotFound);
  EXPECT_EQ(this->ValueNames(kCU, u"K"), Names{u""});
  EXPECT_EQ(reg.DeleteValue(kCU, u"K", u""), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(kCU, u"K"), RegStatus::Ok);
}

TYPED_TEST(RegistrySemantics, EnumerationFollowsCreationOrder) {
  auto& reg = *this->reg_;
  for (const char16_t* key : {u"zeta", u"Alpha", u"mid"}) {
    ASSERT_EQ(reg.CreateKey(kCU, std::u16string(u"E\\") + key), RegStatus::Ok);
  }
  for (const char16_t* name : {u"b", u"a", u"c"}) {
    ASSERT_EQ(reg.SetValue(kCU, u"E", name, RegValue::Dword(0)), RegStatus::Ok);
  }
  EXPECT_EQ(this->Subkeys(kCU, u"E"), (Names{u"zeta", u"Alpha", u"mid"}));
  // Overwriting keeps a value's place; deleting and writing again moves it to the end.
  ASSERT_EQ(reg.SetValue(kCU, u"E", u"B", RegValue::Dword(9)), RegStatus::Ok);
  ASSERT_EQ(reg.DeleteValue(kCU, u"E", u"a"), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kCU, u"E", u"A", RegValue::Dword(1)), RegStatus::Ok);
  EXPECT_EQ(this->ValueNames(kCU, u"E"), (Names{u"b", u"c", u"A"}));
  ASSERT_EQ(reg.DeleteKey(kCU, u"E\\zeta"), RegStatus::Ok);
  ASSERT_EQ(reg.CreateKey(kCU, u"E\\Zeta"), RegStatus::Ok);
  EXPECT_EQ(this->Subkeys(kCU, u"E"), (Names{u"Alpha", u"mid", u"Zeta"}));
}

TYPED_TEST(RegistrySemantics, RootsAreSeparateTrees) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"Same", u"v", RegValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kLM, u"Same", u"v", RegValue::Dword(2)), RegStatus::Ok);
  ASSERT_EQ(reg.SetValue(kLM, u"", u"at root", RegValue::Dword(3)), RegStatus::Ok);
  EXPECT_EQ(this->Get(kCU, u"Same", u"v"), RegValue::Dword(1));
  EXPECT_EQ(this->Get(kLM, u"Same", u"v"), RegValue::Dword(2));
  EXPECT_EQ(this->Get(kLM, u"\\", u"at root"), RegValue::Dword(3));
  ASSERT_EQ(reg.DeleteKey(kCU, u"Same"), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(kLM, u"Same"), RegStatus::Ok);
}

TYPED_TEST(RegistrySemantics, BatchLandsAllOrNothing) {
  auto& reg = *this->reg_;
  ASSERT_EQ(reg.SetValue(kCU, u"B", u"kept", RegValue::Dword(1)), RegStatus::Ok);

  const RegStatus failed = reg.Batch([](Registry& r) {
    EXPECT_EQ(r.SetValue(kCU, u"B", u"kept", RegValue::Dword(2)), RegStatus::Ok);
    EXPECT_EQ(r.SetValue(kLM, u"B\\new", u"x", RegValue::Dword(3)), RegStatus::Ok);
    EXPECT_EQ(r.DeleteKey(kCU, u"B"), RegStatus::Ok);
    EXPECT_EQ(r.OpenKey(kCU, u"B"), RegStatus::NotFound);  // the batch sees its own writes
    return RegStatus::AccessDenied;
  });
  EXPECT_EQ(failed, RegStatus::AccessDenied);
  EXPECT_EQ(this->Get(kCU, u"B", u"kept"), RegValue::Dword(1));
  EXPECT_EQ(reg.OpenKey(kLM, u"B"), RegStatus::NotFound);

  const RegStatus nested = reg.Batch([](Registry& r) {
    EXPECT_EQ(r.SetValue(kCU, u"B", u"outer", RegValue::Dword(4)), RegStatus::Ok);
    EXPECT_EQ(r.Batch([](Registry& inner) {
      EXPECT_EQ(inner.SetValue(kCU, u"B", u"inner", RegValue::Dword(5)), RegStatus::Ok);
      return RegStatus::Failed;
    }), RegStatus::Failed);
    EXPECT_EQ(r.Batch([](Registry& inner) {
      return inner.SetValue(kLM, u"B", u"inner ok", RegValue::Dword(6));
    }), RegStatus::Ok);
    return RegStatus::Ok;
  });
  EXPECT_EQ(nested, RegStatus::Ok);
  EXPECT_EQ(this->ValueNames(kCU, u"B"), (Names{u"kept", u"outer"}));
  EXPECT_EQ(this->Get(kLM, u"B", u"inner ok"), RegValue::Dword(6));
}

}  // namespace
}  // namespace platform
