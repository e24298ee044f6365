// The SQLite store: one database file per root in the store folder, "HKCU.db" for the current
// user's tree and "HKLM.db" for the machine tree.
//
// Schema: keys(id, parent, name, path) holds one row per key with the spelling of its first
// write in `name` and its folded full path in `path` (unique), so a lookup is one index probe
// whatever the depth. vals(seq, key, name, folded, type, data) holds the values; `seq` keeps
// creation order and `folded` the lookup name. Names and texts are stored as UTF-16LE blobs so
// that every 16-bit text, even one with an unpaired surrogate, round-trips exactly. The
// database's application_id marks the file as ours and user_version is its format version.
//
// The write-ahead log lets readers in other processes go on while a write commits, so a process
// polling a flag never waits on a writer; writers start with BEGIN IMMEDIATE and wait on each
// other through the busy timeout instead of failing.

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/registry/reg_names.h"
#include "platform/registry/registry.h"

namespace platform {
namespace {

// Blobs of UTF-16 texts are written in host order; the store format is little-endian.
static_assert(std::endian::native == std::endian::little);

constexpr int kApplicationId = 0x565A5247;  // "VZRG"
constexpr int kFormatVersion = 1;
constexpr int kBusyTimeoutMs = 10000;
constexpr sqlite3_int64 kRootKeyId = 1;

constexpr const char* kSchema = R"(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER,
  name BLOB NOT NULL,
  path BLOB NOT NULL UNIQUE);
CREATE INDEX keys_by_parent ON keys(parent);
CREATE TABLE vals(
  seq INTEGER PRIMARY KEY,
  key INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, folded));
INSERT INTO keys(id, parent, name, path) VALUES(1, NULL, X'', X'');
)";

std::string FileName(RegRoot root) {
  switch (root) {
    case RegRoot::CurrentUser:
      return "HKCU.db";
    case RegRoot::LocalMachine:
      return "HKLM.db";
  }
  return {};
}

// Binds a byte range; a zero-length range must not become NULL, which a null pointer would.
int BindBytes(sqlite3_stmt* stmt, int index, const void* data, std::size_t size) {
  static const char kEmpty = 0;
  return sqlite3_bind_blob(stmt, index, size ? data : &kEmpty, static_cast<int>(size),
                           SQLITE_STATIC);
}

int BindText16(sqlite3_stmt* stmt, int index, std::u16string_view text) {
  return BindBytes(stmt, index, text.data(), text.size() * sizeof(char16_t));
}

std::u16string ColumnText16(sqlite3_stmt* stmt, int column) {
  const auto* bytes = sqlite3_column_blob(stmt, column);
  const int size = sqlite3_column_bytes(stmt, column);
  std::u16string text(static_cast<std::size_t>(size) / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), bytes, text.size() * 2);
  return text;
}

std::vector<std::uint8_t> EncodeData(const RegValue& value) {
  std::vector<std::uint8_t> bytes;
  switch (value.type()) {
    case RegType::String: {
      const auto& text = std::get<std::u16string>(value.data);
      bytes.resize(text.size() * 2);
      if (!text.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
      break;
    }
    case RegType::Dword: {
      const std::uint32_t number = std::get<std::uint32_t>(value.data);
      for (int shift = 0; shift < 32; shift += 8) bytes.push_back((number >> shift) & 0xFF);
      break;
    }
    case RegType::Binary:
      bytes = std::get<std::vector<std::uint8_t>>(value.data);
      break;
  }
  return bytes;
}

// False for a row this version cannot represent (unknown type, or data of the wrong size).
bool DecodeValue(sqlite3_stmt* stmt, int type_column, RegValue& out) {
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, type_column + 1));
  const auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, type_column + 1));
  switch (sqlite3_column_int64(stmt, type_column)) {
    case static_cast<int>(RegType::String):
      if (size % 2 != 0) return false;
      out = RegValue::Text(ColumnText16(stmt, type_column + 1));
      return true;
    case static_cast<int>(RegType::Dword):
      if (size != 4) return false;
      out = RegValue::Dword(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                            static_cast<std::uint32_t>(bytes[3]) << 24);
      return true;
    case static_cast<int>(RegType::Binary):
      out = RegValue::Binary(std::vector<std::uint8_t>(bytes, bytes + size));
      return true;
    default:
      return false;
  }
}

// A prepared statement, reset when the guard of one use ends.
class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  bool Prepare(sqlite3* db, const char* sql) {
    return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) == SQLITE_OK;
  }

  class Use {
   public:
    explicit Use(sqlite3_stmt* stmt) : stmt_(stmt) {}
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    ~Use() { sqlite3_reset(stmt_); }
    sqlite3_stmt* get() const { return stmt_; }
    int Step() { return sqlite3_step(stmt_); }
    // Runs a statement that yields no rows.
    bool Run() { return sqlite3_step(stmt_) == SQLITE_DONE; }

   private:
    sqlite3_stmt* stmt_;
  };
  Use Start() { return Use(stmt_); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// One root's database connection and its statements.
class RootStore {
 public:
  RootStore() = default;
  RootStore(const RootStore&) = delete;
  RootStore& operator=(const RootStore&) = delete;
  // Statements left unfinalized here are finalized by their members; close_v2 waits for them.
  ~RootStore() { sqlite3_close_v2(db_); }

  // Empty on success, else why the file cannot be used.
  std::string Open(const std::filesystem::path& file);

  [[nodiscard]] bool Begin(bool write) { return (write ? begin_write_ : begin_read_).Start().Run(); }
  [[nodiscard]] bool Commit() { return commit_.Start().Run(); }
  void Rollback() { (void)rollback_.Start().Run(); }
  [[nodiscard]] bool Savepoint() { return savepoint_.Start().Run(); }
  [[nodiscard]] bool Release() { return release_.Start().Run(); }
  void RollbackToSavepoint() {
    (void)rollback_to_.Start().Run();
    (void)release_.Start().Run();
  }

  // Id of the key with that folded path, 0 when absent, -1 on a store failure.
  sqlite3_int64 FindKey(std::u16string_view folded_path);
  // Id of the key, created with all its parents when missing; -1 on a store failure.
  sqlite3_int64 EnsureKey(std::u16string_view path);
  RegStatus GetValue(std::u16string_view folded_path, std::u16string_view name, RegValue& out);
  RegStatus SetValue(sqlite3_int64 key, std::u16string_view name, const RegValue& value);
  RegStatus DeleteValue(std::u16string_view folded_path, std::u16string_view name);
  RegStatus DeleteKey(std::u16string_view folded_path);
  RegStatus EnumSubkeys(sqlite3_int64 key, std::vector<std::u16string>& out);
  RegStatus EnumValues(sqlite3_int64 key, std::vector<NamedValue>& out);

 private:
  std::string Verify();
  std::string Initialize();
  bool SwitchToWal();
  std::string Reason() const { return sqlite3_errmsg(db_); }
  bool Prepare();

  sqlite3* db_ = nullptr;
  Statement begin_read_, begin_write_, commit_, rollback_, savepoint_, release_, rollback_to_;
  Statement find_key_, insert_key_, get_value_, upsert_value_, delete_value_, delete_key_values_,
      delete_keys_, subkeys_, values_;
};

// Reads one integer from a statement such as a pragma. False when the statement fails.
bool QueryInt(sqlite3* db, const char* sql, sqlite3_int64& out) {
  sqlite3_stmt* stmt = nullptr;
  bool ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW;
  if (ok) out = sqlite3_column_int64(stmt, 0);
  sqlite3_finalize(stmt);
  return ok;
}

std::string RootStore::Open(const std::filesystem::path& file) {
  // Create the file ourselves so that it is owner-only from the start; SQLite gives its -wal and
  // -shm files the same permissions. An existing file is left alone: closing a descriptor of it
  // would drop the locks of every other connection to it in this process (the adapter library
  // opens the store too), and a later close elsewhere would then delete the log they still use.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  } else if (errno != EEXIST) {
    return std::strerror(errno);
  }

  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    return db_ ? Reason() : "out of memory";
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (sqlite3_db_readonly(db_, "main") == 1) return "the file is read-only";
  // Closing the last connection of a foreign database in WAL mode would checkpoint into it;
  // nothing may be written to a file before it is known to be ours.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  if (std::string error = Verify(); !error.empty()) return error;
  sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);

  if (!SwitchToWal()) return "cannot switch to write-ahead logging: " + Reason();
  // In WAL mode NORMAL still keeps every commit across a crash of the process.
  if (sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr) != SQLITE_OK ||
      !Prepare()) {
    return Reason();
  }
  return {};
}

// Switching the journal mode needs the file to itself, and SQLite does not wait for that through
// the busy handler: a second instance opening the store at the same moment would be refused. So
// wait here, as long as the busy timeout would.
bool RootStore::SwitchToWal() {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
  for (;;) {
    sqlite3_stmt* stmt = nullptr;
    bool wal = false;
    int rc = sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
      rc = sqlite3_step(stmt);
      wal = rc == SQLITE_ROW &&
            sqlite3_stricmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), "wal") == 0;
    }
    sqlite3_finalize(stmt);
    if (wal) return true;
    const int primary = rc & 0xFF;
    if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) ||
        std::chrono::steady_clock::now() > give_up) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Checks, without writing anything, that the file is a store of ours or still empty; sets up the
// schema of an empty one.
std::string RootStore::Verify() {
  for (int pass = 0; pass < 2; ++pass) {
    sqlite3_int64 application_id = 0, version = 0, objects = 0;
    // One read transaction, so that a store being set up by another process at this moment is
    // seen either before or after its set-up, never half of each.
    if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return Reason();
    const bool read = QueryInt(db_, "PRAGMA application_id", application_id) &&
                      QueryInt(db_, "PRAGMA user_version", version) &&
                      QueryInt(db_, "SELECT count(*) FROM sqlite_schema", objects);
    if (!read) {
      std::string error = Reason();
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      return error;
    }
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return Reason();
    if (application_id == kApplicationId) {
      if (version > kFormatVersion) return "written by a newer version of the program";
      return {};
    }
    if (application_id != 0 || objects != 0) return "not a registry store of this program";
    if (pass == 0) {
      // Empty: another process may be setting it up at this moment, so decide again under the
      // write lock.
      if (std::string error = Initialize(); !error.empty()) return error;
    }
  }
  return {};
}

std::string RootStore::Initialize() {
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return Reason();
  sqlite3_int64 application_id = 0, objects = 0;
  bool ok = QueryInt(db_, "PRAGMA application_id", application_id) &&
            QueryInt(db_, "SELECT count(*) FROM sqlite_schema", objects);
  if (ok && application_id == 0 && objects == 0) {
    const std::string marks = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                              "; PRAGMA user_version=" + std::to_string(kFormatVersion) + ";";
    ok = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(db_, marks.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  if (ok && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return {};
  std::string error = Reason();
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return error;
}

bool RootStore::Prepare() {
  struct Entry {
    Statement* statement;
    const char* sql;
  };
  const Entry entries[] = {
      {&begin_read_, "BEGIN"},
      {&begin_write_, "BEGIN IMMEDIATE"},
      {&commit_, "COMMIT"},
      {&rollback_, "ROLLBACK"},
      {&savepoint_, "SAVEPOINT nested"},
      {&release_, "RELEASE nested"},
      {&rollback_to_, "ROLLBACK TO nested"},
      {&find_key_, "SELECT id FROM keys WHERE path=?1"},
      {&insert_key_, "INSERT INTO keys(parent, name, path) VALUES(?1, ?2, ?3)"},
      {&get_value_,
       "SELECT v.type, v.data FROM keys k JOIN vals v ON v.key=k.id WHERE k.path=?1 AND "
       "v.folded=?2"},
      {&upsert_value_,
       "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
       "ON CONFLICT(key, folded) DO UPDATE SET type=excluded.type, data=excluded.data"},
      {&delete_value_,
       "DELETE FROM vals WHERE key=(SELECT id FROM keys WHERE path=?1) AND folded=?2"},
      {&delete_key_values_,
       "DELETE FROM vals WHERE key IN "
       "(SELECT id FROM keys WHERE path=?1 OR (path>=?2 AND path<?3))"},
      {&delete_keys_, "DELETE FROM keys WHERE path=?1 OR (path>=?2 AND path<?3)"},
      {&subkeys_, "SELECT name FROM keys WHERE parent=?1 ORDER BY id"},
      {&values_, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY seq"},
  };
  for (const Entry& entry : entries) {
    if (!entry.statement->Prepare(db_, entry.sql)) return false;
  }
  return true;
}

std::u16string FoldedPath(std::u16string_view path) {
  std::u16string folded;
  for (std::u16string_view part : regnames::SplitKeyPath(path)) {
    if (!folded.empty()) folded.push_back(u'\\');
    folded += regnames::Fold(part);
  }
  return folded;
}

sqlite3_int64 RootStore::FindKey(std::u16string_view folded_path) {
  auto use = find_key_.Start();
  BindText16(use.get(), 1, folded_path);
  switch (use.Step()) {
    case SQLITE_ROW:
      return sqlite3_column_int64(use.get(), 0);
    case SQLITE_DONE:
      return 0;
    default:
      return -1;
  }
}

sqlite3_int64 RootStore::EnsureKey(std::u16string_view path) {
  const std::u16string full = FoldedPath(path);
  if (sqlite3_int64 id = FindKey(full); id != 0) return id;
  sqlite3_int64 id = kRootKeyId;
  std::u16string folded;
  for (std::u16string_view part : regnames::SplitKeyPath(path)) {
    if (!folded.empty()) folded.push_back(u'\\');
    folded += regnames::Fold(part);
    const sqlite3_int64 found = FindKey(folded);
    if (found < 0) return -1;
    if (found > 0) {
      id = found;
      continue;
    }
    auto use = insert_key_.Start();
    sqlite3_bind_int64(use.get(), 1, id);
    BindText16(use.get(), 2, part);
    BindText16(use.get(), 3, folded);
    if (!use.Run()) return -1;
    id = sqlite3_last_insert_rowid(db_);
  }
  return id;
}

RegStatus RootStore::GetValue(std::u16string_view folded_path, std::u16string_view name,
                              RegValue& out) {
  const std::u16string folded_name = regnames::Fold(name);
  auto use = get_value_.Start();
  BindText16(use.get(), 1, folded_path);
  BindText16(use.get(), 2, folded_name);
  switch (use.Step()) {
    case SQLITE_ROW:
      return DecodeValue(use.get(), 0, out) ? RegStatus::Ok : RegStatus::Failed;
    case SQLITE_DONE:
      return RegStatus::NotFound;
    default:
      return RegStatus::Failed;
  }
}

RegStatus RootStore::SetValue(sqlite3_int64 key, std::u16string_view name, const RegValue& value) {
  const std::u16string folded_name = regnames::Fold(name);
  const std::vector<std::uint8_t> data = EncodeData(value);
  auto use = upsert_value_.Start();
  sqlite3_bind_int64(use.get(), 1, key);
  BindText16(use.get(), 2, name);
  BindText16(use.get(), 3, folded_name);
  sqlite3_bind_int64(use.get(), 4, static_cast<int>(value.type()));
  BindBytes(use.get(), 5, data.data(), data.size());
  return use.Run() ? RegStatus::Ok : RegStatus::Failed;
}

RegStatus RootStore::DeleteValue(std::u16string_view folded_path, std::u16string_view name) {
  const std::u16string folded_name = regnames::Fold(name);
  auto use = delete_value_.Start();
  BindText16(use.get(), 1, folded_path);
  BindText16(use.get(), 2, folded_name);
  if (!use.Run()) return RegStatus::Failed;
  return sqlite3_changes(db_) > 0 ? RegStatus::Ok : RegStatus::NotFound;
}

RegStatus RootStore::DeleteKey(std::u16string_view folded_path) {
  // The subtree is every path that starts with the key's path and a backslash: in UTF-16LE bytes
  // those sort between path+"\" (5C 00) and path+"\" with its second byte raised (5C 01).
  std::u16string low(folded_path);
  low.push_back(u'\\');
  std::u16string high(folded_path);
  high.push_back(static_cast<char16_t>(0x015C));
  for (Statement* statement : {&delete_key_values_, &delete_keys_}) {
    auto use = statement->Start();
    BindText16(use.get(), 1, folded_path);
    BindText16(use.get(), 2, low);
    BindText16(use.get(), 3, high);
    if (!use.Run()) return RegStatus::Failed;
  }
  return sqlite3_changes(db_) > 0 ? RegStatus::Ok : RegStatus::NotFound;
}

RegStatus RootStore::EnumSubkeys(sqlite3_int64 key, std::vector<std::u16string>& out) {
  out.clear();
  auto use = subkeys_.Start();
  sqlite3_bind_int64(use.get(), 1, key);
  int rc;
  while ((rc = use.Step()) == SQLITE_ROW) out.push_back(ColumnText16(use.get(), 0));
  return rc == SQLITE_DONE ? RegStatus::Ok : RegStatus::Failed;
}

RegStatus RootStore::EnumValues(sqlite3_int64 key, std::vector<NamedValue>& out) {
  out.clear();
  auto use = values_.Start();
  sqlite3_bind_int64(use.get(), 1, key);
  int rc;
  while ((rc = use.Step()) == SQLITE_ROW) {
    NamedValue named{ColumnText16(use.get(), 0), {}};
    if (!DecodeValue(use.get(), 1, named.value)) return RegStatus::Failed;
    out.push_back(std::move(named));
  }
  return rc == SQLITE_DONE ? RegStatus::Ok : RegStatus::Failed;
}

RegStatus KeyIdStatus(sqlite3_int64 id) {
  return id > 0 ? RegStatus::Ok : id == 0 ? RegStatus::NotFound : RegStatus::Failed;
}

class SqliteRegistry : public Registry {
 public:
  std::string Open(const std::filesystem::path& dir) {
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
      const std::filesystem::path file = dir / FileName(root);
      if (std::string error = Store(root).Open(file); !error.empty()) {
        return "registry file " + file.string() + ": " + error;
      }
    }
    return {};
  }

  RegStatus OpenKey(RegRoot root, std::u16string_view path) override {
    return Run(root, Access::Single, [&](RootStore& store) {
      return KeyIdStatus(store.FindKey(FoldedPath(path)));
    });
  }

  RegStatus OpenKeyForWrite(RegRoot root, std::u16string_view path) override {
    // Every key of the store is writable; the store was refused at opening when it is not.
    return OpenKey(root, path);
  }

  RegStatus CreateKey(RegRoot root, std::u16string_view path) override {
    return Run(root, Access::Write,
               [&](RootStore& store) { return KeyIdStatus(store.EnsureKey(path)); });
  }

  RegStatus GetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     RegValue& out) override {
    return Run(root, Access::Single,
               [&](RootStore& store) { return store.GetValue(FoldedPath(path), name, out); });
  }

  RegStatus SetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     const RegValue& value) override {
    return Run(root, Access::Write, [&](RootStore& store) {
      const sqlite3_int64 key = store.EnsureKey(path);
      return key > 0 ? store.SetValue(key, name, value) : RegStatus::Failed;
    });
  }

  RegStatus DeleteValue(RegRoot root, std::u16string_view path,
                        std::u16string_view name) override {
    return Run(root, Access::Write,
               [&](RootStore& store) { return store.DeleteValue(FoldedPath(path), name); });
  }

  RegStatus DeleteKey(RegRoot root, std::u16string_view path) override {
    const std::u16string folded = FoldedPath(path);
    // A root cannot be deleted.
    if (folded.empty()) return RegStatus::AccessDenied;
    return Run(root, Access::Write, [&](RootStore& store) { return store.DeleteKey(folded); });
  }

  RegStatus EnumSubkeys(RegRoot root, std::u16string_view path,
                        std::vector<std::u16string>& out) override {
    return Run(root, Access::Read, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(FoldedPath(path));
      return key > 0 ? store.EnumSubkeys(key, out) : KeyIdStatus(key);
    });
  }

  RegStatus EnumValues(RegRoot root, std::u16string_view path,
                       std::vector<NamedValue>& out) override {
    return Run(root, Access::Read, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(FoldedPath(path));
      return key > 0 ? store.EnumValues(key, out) : KeyIdStatus(key);
    });
  }

  RegStatus Batch(const std::function<RegStatus(Registry&)>& body) override {
    std::lock_guard lock(mutex_);
    const bool nested = batch_depth_ > 0;
    // Both roots are locked in one fixed order so that two processes' batches cannot deadlock.
    std::size_t begun = 0;
    for (RootStore& store : stores_) {
      if (!(nested ? store.Savepoint() : store.Begin(true))) break;
      ++begun;
    }
    auto undo = [&] {
      for (std::size_t i = 0; i < begun; ++i) {
        nested ? stores_[i].RollbackToSavepoint() : stores_[i].Rollback();
      }
    };
    if (begun != std::size(stores_)) {
      undo();
      return RegStatus::Failed;
    }
    ++batch_depth_;
    RegStatus status;
    try {
      status = body(*this);
    } catch (...) {
      --batch_depth_;
      undo();
      throw;
    }
    --batch_depth_;
    if (status == RegStatus::Ok) {
      // A failed first commit leaves both roots untouched. The two files commit one after the
      // other: a batch that writes both roots can land in part only if the second commit fails
      // (we hold its write lock, so only on a full disk) or the process dies between the two.
      bool committed = true;
      for (RootStore& store : stores_) {
        if (!(nested ? store.Release() : store.Commit())) {
          committed = false;
          break;
        }
      }
      if (committed) return RegStatus::Ok;
      status = RegStatus::Failed;
    }
    undo();
    return status;
  }

 private:
  enum class Access {
    Single,  // one statement: atomic on its own
    Read,    // several statements that must see one state
    Write,
  };

  RootStore& Store(RegRoot root) { return stores_[static_cast<int>(root)]; }

  template <class Operation>
  RegStatus Run(RegRoot root, Access access, Operation&& operation) {
    std::lock_guard lock(mutex_);
    RootStore& store = Store(root);
    if (batch_depth_ > 0 || access == Access::Single) return operation(store);
    const bool write = access == Access::Write;
    if (!store.Begin(write)) return RegStatus::Failed;
    RegStatus status;
    try {
      status = operation(store);
    } catch (...) {
      // An open transaction left behind would make every later call fail.
      store.Rollback();
      throw;
    }
    if (status == RegStatus::Ok || !write) {
      if (store.Commit()) return status;
      status = RegStatus::Failed;
    }
    store.Rollback();
    return status;
  }

  std::recursive_mutex mutex_;
  RootStore stores_[2];
  int batch_depth_ = 0;
};

}  // namespace

OpenRegistryResult OpenSqliteRegistry(const std::filesystem::path& dir) {
  std::error_code ec;
  if (!std::filesystem::exists(dir, ec)) {
    if (std::filesystem::create_directories(dir, ec)) {
      std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
    }
    if (ec) return {nullptr, "registry folder " + dir.string() + ": " + ec.message()};
  }
  auto registry = std::make_unique<SqliteRegistry>();
  if (std::string error = registry->Open(dir); !error.empty()) return {nullptr, error};
  return {std::move(registry), {}};
}

}  // namespace platform
