// What only the SQLite store has: files, their permissions, refusing files that are not ours,
// persistence, and the default folder.

#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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
