// What only the SQLite store has: files, their permissions, refusing files that are not ours,
// persistence, and the default folder.

#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include <gtest/gtest.h>

#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
constexpr RegRoot kCU = RegRoot::CurrentUser;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

void MakeSqliteDatabase(const fs::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(SqliteRegistry, KeepsValuesAcrossReopeningInOwnerOnlyFiles) {
  testing::TempDir dir;
  const fs::path folder = dir.path() / "new" / "vuzideza";
  {
    OpenRegistryResult opened = OpenSqliteRegistry(folder);
    ASSERT_TRUE(opened.registry) << opened.error;
    ASSERT_EQ(opened.registry->SetValue(kCU, u"Software\\Orvex", u"Pass", RegValue::Text(u"secret")),
              RegStatus::Ok);
    ASSERT_EQ(opened.registry->SetValue(RegRoot::LocalMachine, u"SYSTEM", u"n", RegValue::Dword(4)),
              RegStatus::Ok);
    for (const char* name : {"HKCU.db", "HKCU.db-wal", "HKLM.db"}) {
      struct stat st {};
      ASSERT_EQ(::stat((folder / name).c_str(), &st), 0) << name;
      EXPECT_EQ(st.st_mode & 0777, 0600u) << name;
    }
  }
  OpenRegistryResult reopened = OpenSqliteRegistry(folder);
  ASSERT_TRUE(reopened.registry) << reopened.error;
  RegValue value;
  ASSERT_EQ(reopened.registry->GetValue(kCU, u"software\\orvex", u"pass", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Text(u"secret"));
  ASSERT_EQ(reopened.registry->GetValue(RegRoot::LocalMachine, u"System", u"N", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Dword(4));
}

TEST(SqliteRegistry, AnEmptyFileIsTakenAsANewStore) {
  testing::TempDir dir;
  WriteFile(dir.path() / "HKCU.db", "");
  OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
  ASSERT_TRUE(opened.registry) << opened.error;
  EXPECT_EQ(opened.registry->CreateKey(kCU, u"x"), RegStatus::Ok);
}

// Files that are not a store of ours are refused, named, and left exactly as they were.
// Two instances started at once on a first run both create the store: each must find it either
// not yet set up or complete, never half set up.
TEST(SqliteRegistry, ProcessesOpeningANewStoreAtOnceAllSucceed) {
  constexpr int kRounds = 10;
  constexpr int kProcesses = 6;
  for (int round = 0; round < kRounds; ++round) {
    testing::TempDir dir;
    pid_t children[kProcesses];
    for (pid_t& child : children) {
      child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
        if (!opened.registry) {
          std::fprintf(stderr, "%s\n", opened.error.c_str());
          ::_exit(2);
        }
        const auto status = opened.registry->SetValue(kCU, u"software\\Orvex", u"Seen",
                                                      RegValue::Dword(::getpid()));
        ::_exit(status == RegStatus::Ok ? 0 : 3);
      }
    }
    for (pid_t child : children) {
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 0) << "round " << round << " (2: open refused, 3: write)";
    }
  }
}

TEST(SqliteRegistry, ASecondOpeningInTheProcessKeepsTheFirstSeeingOtherProcessesWrites) {
  // The program and the adapter library each open the store; another instance writes a request
  // and ends. The first connection must still see it, also after the second one has gone.
  testing::TempDir dir;
  OpenRegistryResult first = OpenSqliteRegistry(dir.path());
  ASSERT_NE(first.registry, nullptr) << first.error;
  ASSERT_EQ(first.registry->SetValue(kCU, u"software\\Orvex", u"Request", RegValue::Dword(0)),
            RegStatus::Ok);
  {
    OpenRegistryResult second = OpenSqliteRegistry(dir.path());
    ASSERT_NE(second.registry, nullptr) << second.error;
  }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Another process closing what it takes for the last connection deletes the log, unless this
    // process still holds its locks. The copy of the first connection serves: the child holds
    // no locks of its own.
    first.registry.reset();
    OpenRegistryResult other = OpenSqliteRegistry(dir.path());
    if (!other.registry) ::_exit(2);
    const auto status =
        other.registry->SetValue(kCU, u"software\\Orvex", u"Request", RegValue::Dword(1));
    ::_exit(status == RegStatus::Ok ? 0 : 3);  // ends with the write still in the log
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  RegValue value;
  ASSERT_EQ(first.registry->GetValue(kCU, u"software\\Orvex", u"Request", value), RegStatus::Ok);
  EXPECT_EQ(value, RegValue::Dword(1));
}

TEST(SqliteRegistry, RefusesFilesThatAreNotItsStoreAndLeavesThemAlone) {
  struct Case {
    const char* what;
    const char* file;
    std::function<void(const fs::path&)> make;
    const char* reason;
  };
  const Case cases[] = {
      {"garbage", "HKCU.db",
       [](const fs::path& f) { WriteFile(f, std::string(5000, 'x') + "not a database"); },
       "not a database"},
      {"garbage with an SQLite-like header", "HKLM.db",
       [](const fs::path& f) { WriteFile(f, std::string("SQLite format 3\0", 16) + std::string(200, '\x7f')); },
       ""},
      {"foreign database", "HKCU.db",
       [](const fs::path& f) { MakeSqliteDatabase(f, "CREATE TABLE songs(title TEXT); INSERT INTO songs VALUES('a');"); },
       "not a registry store"},
      {"foreign database in WAL mode", "HKLM.db",
       [](const fs::path& f) {
         MakeSqliteDatabase(f, "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);");
       },
       "not a registry store"},
      {"foreign empty database with an application id", "HKCU.db",
       [](const fs::path& f) { MakeSqliteDatabase(f, "PRAGMA application_id=1234; CREATE TABLE t(x);"); },
       "not a registry store"},
      {"store of a newer format", "HKCU.db",
       [](const fs::path& f) {
         MakeSqliteDatabase(f, "PRAGMA application_id=1448759879; PRAGMA user_version=99; CREATE TABLE keys(x);");
       },
       "newer version"},
      {"folder in place of the file", "HKLM.db", [](const fs::path& f) { fs::create_directory(f); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempDir dir;
    const fs::path file = dir.path() / c.file;
    c.make(file);
    const std::string before = fs::is_regular_file(file) ? ReadFile(file) : "";
    const auto mtime = fs::last_write_time(file);

    OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
    EXPECT_FALSE(opened.registry);
    EXPECT_NE(opened.error.find(file.string()), std::string::npos) << opened.error;
    EXPECT_NE(opened.error.find(c.reason), std::string::npos) << opened.error;
    if (fs::is_regular_file(file)) {
      EXPECT_EQ(ReadFile(file), before);
      EXPECT_EQ(fs::last_write_time(file), mtime);
    }
  }
}

std::uintmax_t StoreBytes(const fs::path& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with("HKCU")) bytes += entry.file_size();
  }
  return bytes;
}

// Deep keys with long names: the store grows with what is stored, not with the square of the
// depth (keeping every key's full path made this one key some 136 MB).
TEST(SqliteRegistry, DeepKeysCostSpaceInProportionToTheirNames) {
  testing::TempDir dir;
  std::u16string path;
  for (int level = 0; level < 512; ++level) path += std::u16string(255, static_cast<char16_t>(u'a' + level % 26)) + u"\\";
  {
    OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
    ASSERT_TRUE(opened.registry) << opened.error;
    ASSERT_EQ(opened.registry->SetValue(kCU, path, u"v", RegValue::Dword(1)), RegStatus::Ok);
    ASSERT_EQ(opened.registry->DeleteKey(kCU, path.substr(0, 256)), RegStatus::Ok);
    EXPECT_EQ(opened.registry->OpenKey(kCU, path), RegStatus::NotFound);
    ASSERT_EQ(opened.registry->SetValue(kCU, path, u"v", RegValue::Dword(2)), RegStatus::Ok);
  }
  // 512 names of 255 characters are 261 KB of text; twice that for the spelling and the folded form.
  EXPECT_LT(StoreBytes(dir.path()), 4u << 20);
}

// A store written by the previous format, which kept every key's full path, is converted on
// opening: its keys, values and their order stay.
TEST(SqliteRegistry, AStoreOfTheEarlierFormatIsConverted) {
  testing::TempDir dir;
  MakeSqliteDatabase(dir.path() / "HKCU.db", R"(
    PRAGMA journal_mode=WAL;
    PRAGMA application_id=1448759879;
    PRAGMA user_version=1;
    CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER, name BLOB NOT NULL, path BLOB NOT NULL UNIQUE);
    CREATE INDEX keys_by_parent ON keys(parent);
    CREATE TABLE vals(seq INTEGER PRIMARY KEY, key INTEGER NOT NULL, name BLOB NOT NULL, folded BLOB NOT NULL,
                      type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, folded));
    INSERT INTO keys VALUES(1, NULL, X'', X'');
    INSERT INTO keys VALUES(2, 1, X'53006f00660074007700610072006500', X'53004f00460054005700410052004500');
    INSERT INTO keys VALUES(3, 2, X'4f007200760065007800', X'53004f004600540057004100520045005c004f005200560045005800');
    INSERT INTO keys VALUES(4, 3, X'530075006200',
                            X'53004f004600540057004100520045005c004f0052005600450058005c00530055004200');
    INSERT INTO vals VALUES(1, 3, X'5400690074006c006500', X'5400490054004c004500', 1, X'760031002000760061006c0075006500');
    INSERT INTO vals VALUES(2, 4, X'', X'', 4, X'07000000');
  )");
  {
    OpenRegistryResult opened = OpenSqliteRegistry(dir.path());
    ASSERT_TRUE(opened.registry) << opened.error;
    Registry& reg = *opened.registry;
    RegValue value;
    ASSERT_EQ(reg.GetValue(kCU, u"software\\ORVEX", u"title", value), RegStatus::Ok);
    EXPECT_EQ(value, RegValue::Text(u"v1 value"));
    ASSERT_EQ(reg.GetValue(kCU, u"Software\\Orvex\\sub", u"", value), RegStatus::Ok);
    EXPECT_EQ(value, RegValue::Dword(7));
    std::vector<std::u16string> subkeys;
    ASSERT_EQ(reg.EnumSubkeys(kCU, u"Software", subkeys), RegStatus::Ok);
    EXPECT_EQ(subkeys, std::vector<std::u16string>{u"Orvex"});
    ASSERT_EQ(reg.SetValue(kCU, u"Software\\Orvex\\Sub\\New", u"n", RegValue::Dword(1)), RegStatus::Ok);
    ASSERT_EQ(reg.DeleteKey(kCU, u"Software\\Orvex"), RegStatus::Ok);
    EXPECT_EQ(reg.OpenKey(kCU, u"Software\\Orvex\\Sub"), RegStatus::NotFound);
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir.path() / "HKCU.db").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(stmt, 0), 2);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

// Runs `check` in a child process that cannot write the store's files (the superuser can write
// any file, so a child of the superuser becomes nobody first); the child's exit code is the
// number of the first check that failed.
int InReadOnlyChild(const std::function<int()>& check) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    ::_exit(check());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A store that cannot be written still reads, for the program and for vzreg query; writes are
// refused as access denied. Both a read-only file and a folder that cannot be written.
TEST(SqliteRegistry, AReadOnlyStoreIsOpenedForReading) {
  for (const bool folderWritable : {true, false}) {
    SCOPED_TRACE(folderWritable ? "read-only files" : "read-only folder");
    testing::TempDir dir;
    const fs::path folder = dir.path() / "store";
    {
      OpenRegistryResult opened = OpenSqliteRegistry(folder);
      ASSERT_TRUE(opened.registry) << opened.error;
      ASSERT_EQ(opened.registry->SetValue(kCU, u"Software\\Orvex", u"Pass", RegValue::Text(u"kept")), RegStatus::Ok);
      ASSERT_EQ(opened.registry->SetValue(RegRoot::LocalMachine, u"SYSTEM", u"n", RegValue::Dword(4)), RegStatus::Ok);
    }
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const auto& entry : fs::directory_iterator(folder)) {
      fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    fs::permissions(folder, folderWritable ? fs::perms::all
                                           : fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                 fs::perms::group_exec | fs::perms::others_read |
                                                 fs::perms::others_exec);
    const int failed = InReadOnlyChild([&] {
      OpenRegistryResult opened = OpenSqliteRegistry(folder);
      if (!opened.registry) return 1;
      Registry& reg = *opened.registry;
      RegValue value;
      if (reg.GetValue(kCU, u"software\\orvex", u"pass", value) != RegStatus::Ok || value != RegValue::Text(u"kept")) {
        return 2;
      }
      std::vector<NamedValue> values;
      if (reg.EnumValues(RegRoot::LocalMachine, u"SYSTEM", values) != RegStatus::Ok || values.size() != 1) return 3;
      if (reg.SetValue(kCU, u"Software\\Orvex", u"Pass", RegValue::Text(u"changed")) != RegStatus::AccessDenied) {
        return 4;
      }
      if (reg.OpenKeyForWrite(kCU, u"Software\\Orvex") != RegStatus::AccessDenied) return 5;
      if (reg.DeleteKey(kCU, u"Software") != RegStatus::AccessDenied) return 6;
      // A batch that only reads (as an export does) works on it.
      std::vector<std::u16string> subkeys;
      if (reg.Batch([&](Registry& batch) { return batch.EnumSubkeys(kCU, u"Software", subkeys); }) != RegStatus::Ok ||
          subkeys.size() != 1) {
        return 7;
      }
      if (reg.GetValue(kCU, u"software\\orvex", u"pass", value) != RegStatus::Ok || value != RegValue::Text(u"kept")) {
        return 8;
      }
      return 0;
    });
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(failed, 0);
  }
}

// A full disk is told apart from other failures, and what did not fit leaves nothing behind.
TEST(SqliteRegistry, AFullDiskIsReportedAsSuch) {
  testing::TempDir dir;
  OpenRegistryResult opened = OpenSqliteRegistry(dir.path(), SqliteFaults{.pageLimit = 16});
  ASSERT_TRUE(opened.registry) << opened.error;
  Registry& reg = *opened.registry;
  ASSERT_EQ(reg.SetValue(kCU, u"Software", u"small", RegValue::Dword(1)), RegStatus::Ok);
  EXPECT_EQ(reg.SetValue(kCU, u"Software\\Big", u"big", RegValue::Binary(std::vector<std::uint8_t>(200000, 7))),
            RegStatus::DiskFull);
  EXPECT_EQ(reg.Batch([](Registry& batch) {
              if (RegStatus s = batch.SetValue(kCU, u"Software\\Part", u"a", RegValue::Dword(1)); s != RegStatus::Ok) {
                return s;
              }
              return batch.SetValue(kCU, u"Software\\Part", u"b", RegValue::Binary(std::vector<std::uint8_t>(200000, 7)));
            }),
            RegStatus::DiskFull);
  EXPECT_EQ(reg.OpenKey(kCU, u"Software\\Big"), RegStatus::NotFound);
  EXPECT_EQ(reg.OpenKey(kCU, u"Software\\Part"), RegStatus::NotFound);
  RegValue value;
  EXPECT_EQ(reg.GetValue(kCU, u"Software", u"small", value), RegStatus::Ok);
  EXPECT_EQ(reg.SetValue(kCU, u"Software", u"small", RegValue::Dword(2)), RegStatus::Ok) << "small writes still fit";
}

TEST(SqliteRegistry, AFileInPlaceOfTheFolderIsAnError) {
  testing::TempDir dir;
  WriteFile(dir.path() / "plain", "x");
  OpenRegistryResult opened = OpenSqliteRegistry(dir.path() / "plain");
  EXPECT_FALSE(opened.registry);
  EXPECT_NE(opened.error.find("plain"), std::string::npos) << opened.error;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DefaultRegistryDir, PrefersTheOverrideThenXdgDataHomeThenHome) {
  struct Case {
    const char *override_dir, *xdg, *home;
    const char* expected;
  };
  const Case cases[] = {
      {"/o/reg", "/x/data", "/h/me", "/o/reg"},
      {nullptr, "/x/data", "/h/me", "/x/data/vuzideza"},
      {"", "", "/h/me", "/h/me/.local/share/vuzideza"},
      {nullptr, nullptr, "/h/me", "/h/me/.local/share/vuzideza"},
  };
  for (const Case& c : cases) {
    ScopedEnv o("VUZIDEZA_REGISTRY_DIR", c.override_dir);
    ScopedEnv x("XDG_DATA_HOME", c.xdg);
    ScopedEnv h("HOME", c.home);
    EXPECT_EQ(DefaultRegistryDir(), fs::path(c.expected));
  }
}

}  // namespace
}  // namespace platform
