// The SQLite store: one database file per root in the store folder, "HKCU.db" for the current
// user's tree and "HKLM.db" for the machine tree.
//
// Schema: keys(id, parent, name, folded) holds one row per key with the spelling of its first
// write in `name` and its folded name in `folded` (unique among its siblings); a path is looked up
// one level at a time, so the store grows with the number of keys and the length of their names,
// never with the square of the depth. (Format 1 kept every key's full path and grew that way; it
// is converted on opening.) vals(seq, key, name, folded, type, data) holds the values; `seq` keeps
// creation order and `folded` the lookup name; `type` is the Win32 type number and `data` the
// value's bytes. Names and texts are stored as UTF-16LE blobs so that every 16-bit text, even one
// with an unpaired surrogate, round-trips exactly. The database's application_id marks the file
// as ours and user_version is its format version.
//
// A file that cannot be written is opened read-only: reads work, writes are AccessDenied.
//
// The write-ahead log lets readers in other processes go on while a write commits, so a process
// polling a flag never waits on a writer; writers start with BEGIN IMMEDIATE and wait on each
// other through the busy timeout instead of failing.

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
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
constexpr int kFormatVersion = 2;
constexpr int kBusyTimeoutMs = 10000;
constexpr sqlite3_int64 kRootKeyId = 1;

constexpr const char* kKeysTable = R"(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  UNIQUE(parent, folded));
)";

constexpr const char* kSchema = R"(
CREATE TABLE vals(
  seq INTEGER PRIMARY KEY,
  key INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  UNIQUE(key, folded));
INSERT INTO keys(id, parent, name, folded) VALUES(1, NULL, X'', X'');
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
    case RegType::Typed:
      bytes = std::get<TypedData>(value.data).bytes;
      break;
  }
  return bytes;
}

// False for a row this version cannot represent (a text or number of the wrong size).
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
    default: {
      const sqlite3_int64 type = sqlite3_column_int64(stmt, type_column);
      if (type < 0 || type > 0xFFFFFFFF) return false;
      out = RegValue::Typed(static_cast<std::uint32_t>(type), std::vector<std::uint8_t>(bytes, bytes + size));
      return true;
    }
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
  std::string Open(const std::filesystem::path& file, const SqliteFaults& faults);
  bool read_only() const { return read_only_; }

  // A read-only store takes part in a writing batch with a read transaction.
  [[nodiscard]] bool Begin(bool write) { return (write && !read_only_ ? begin_write_ : begin_read_).Start().Run(); }
  [[nodiscard]] bool Commit() { return commit_.Start().Run(); }
  void Rollback() { (void)rollback_.Start().Run(); }
  [[nodiscard]] bool Savepoint() { return savepoint_.Start().Run(); }
  [[nodiscard]] bool Release() { return release_.Start().Run(); }
  void RollbackToSavepoint() {
    (void)rollback_to_.Start().Run();
    (void)release_.Start().Run();
  }
  // What the last failure of the connection means for the caller.
  RegStatus FailureStatus() const {
    switch (sqlite3_errcode(db_) & 0xFF) {
      case SQLITE_FULL:
        return RegStatus::DiskFull;
      case SQLITE_READONLY:
        return RegStatus::AccessDenied;
      default:
        return RegStatus::Failed;
    }
  }

  // Id of the key, 0 when absent, -1 on a store failure.
  sqlite3_int64 FindKey(std::u16string_view path);
  // Id of the key, created with all its parents when missing; -1 on a store failure.
  sqlite3_int64 EnsureKey(std::u16string_view path);
  RegStatus GetValue(sqlite3_int64 key, std::u16string_view name, RegValue& out);
  RegStatus SetValue(sqlite3_int64 key, std::u16string_view name, const RegValue& value);
  RegStatus DeleteValue(sqlite3_int64 key, std::u16string_view name);
  RegStatus DeleteKey(sqlite3_int64 key);
  RegStatus EnumSubkeys(sqlite3_int64 key, std::vector<std::u16string>& out);
  RegStatus EnumValues(sqlite3_int64 key, std::vector<NamedValue>& out);

 private:
  std::string OpenConnection(const std::filesystem::path& file);
  bool Readable();
  std::string Verify();
  std::string Initialize();
  std::string Upgrade();
  bool SwitchToWal();
  std::string Reason() const { return sqlite3_errmsg(db_); }
  bool Prepare();
  // Id of the child of `parent` with that folded name, 0 when absent, -1 on a store failure.
  sqlite3_int64 FindChild(sqlite3_int64 parent, std::u16string_view folded_name);

  sqlite3* db_ = nullptr;
  bool read_only_ = false;
  Statement begin_read_, begin_write_, commit_, rollback_, savepoint_, release_, rollback_to_;
  Statement find_child_, insert_key_, get_value_, upsert_value_, delete_value_, delete_key_values_,
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

// The connection, read-write when the file allows it. A store that cannot be written (a
// read-only file, or one in a folder that cannot be written) is still read.
std::string RootStore::OpenConnection(const std::filesystem::path& file) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
      return db_ ? Reason() : "out of memory";
    }
  }
  read_only_ = sqlite3_db_readonly(db_, "main") == 1;
  if (read_only_ && !Readable() && !std::filesystem::exists(file.string() + "-wal")) {
    // Reading a write-ahead-logged file needs its shared-memory file, which a folder that cannot
    // be written does not let SQLite create. With no log beside it, the file alone is the whole
    // store, and it can be read as unchanging.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    std::string uri = "file:";
    for (const unsigned char c : file.string()) {
      if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
        uri.push_back(static_cast<char>(c));
      } else {
        static constexpr char kHex[] = "0123456789ABCDEF";
        uri += {'%', kHex[c >> 4], kHex[c & 0xF]};
      }
    }
    uri += "?immutable=1";
    if (sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
      return db_ ? Reason() : "out of memory";
    }
  }
  return {};
}

bool RootStore::Readable() {
  sqlite3_int64 objects = 0;
  return QueryInt(db_, "SELECT count(*) FROM sqlite_schema", objects);
}

std::string RootStore::Open(const std::filesystem::path& file, const SqliteFaults& faults) {
  // Create the file ourselves so that it is owner-only from the start; SQLite gives its -wal and
  // -shm files the same permissions. An existing file is left alone: closing a descriptor of it
  // would drop the locks of every other connection to it in this process (the adapter library
  // opens the store too), and a later close elsewhere would then delete the log they still use.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  } else if (errno != EEXIST && errno != EACCES && errno != EROFS) {
    return std::strerror(errno);
  }

  if (std::string error = OpenConnection(file); !error.empty()) return error;
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // Closing the last connection of a foreign database in WAL mode would checkpoint into it;
  // nothing may be written to a file before it is known to be ours.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  if (std::string error = Verify(); !error.empty()) return error;
  sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
  if (read_only_) return Prepare() ? std::string() : Reason();

  if (!SwitchToWal()) return "cannot switch to write-ahead logging: " + Reason();
  // In WAL mode NORMAL still keeps every commit across a crash of the process.
  if (sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr) != SQLITE_OK ||
      !Prepare()) {
    return Reason();
  }
  if (faults.pageLimit != 0) {
    const std::string limit = "PRAGMA max_page_count=" + std::to_string(faults.pageLimit);
    if (sqlite3_exec(db_, limit.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return Reason();
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
      if (version < kFormatVersion) return Upgrade();
      return {};
    }
    if (application_id != 0 || objects != 0) return "not a registry store of this program";
    if (read_only_) return "the file is read-only and holds no store yet";
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
    ok = sqlite3_exec(db_, kKeysTable, nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(db_, marks.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  if (ok && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return {};
  std::string error = Reason();
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return error;
}

// Format 1 kept each key's folded full path; format 2 keeps its folded name. Key ids stay, so
// the values keep their keys. Another process may be upgrading at this moment: decided again
// under the write lock.
std::string RootStore::Upgrade() {
  if (read_only_) {
    return "the file is read-only and in the format of an older version; open it once with write "
           "access to convert it";
  }
  if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return Reason();
  sqlite3_int64 version = 0;
  bool ok = QueryInt(db_, "PRAGMA user_version", version);
  if (ok && version == 1) {
    ok = sqlite3_exec(db_, "ALTER TABLE keys RENAME TO keys_v1", nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(db_, kKeysTable, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* rows = nullptr;
    sqlite3_stmt* insert = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db_, "SELECT id, parent, name, path FROM keys_v1", -1, &rows, nullptr) == SQLITE_OK &&
         sqlite3_prepare_v2(db_, "INSERT INTO keys(id, parent, name, folded) VALUES(?1, ?2, ?3, ?4)", -1, &insert,
                            nullptr) == SQLITE_OK;
    int rc = SQLITE_DONE;
    while (ok && (rc = sqlite3_step(rows)) == SQLITE_ROW) {
      // The key's own folded name is the last component of its folded path.
      const std::u16string path = ColumnText16(rows, 3);
      const std::size_t slash = path.rfind(u'\\');
      const std::u16string folded = slash == std::u16string::npos ? path : path.substr(slash + 1);
      sqlite3_bind_int64(insert, 1, sqlite3_column_int64(rows, 0));
      sqlite3_bind_value(insert, 2, sqlite3_column_value(rows, 1));
      sqlite3_bind_value(insert, 3, sqlite3_column_value(rows, 2));
      BindText16(insert, 4, folded);
      ok = sqlite3_step(insert) == SQLITE_DONE;
      sqlite3_reset(insert);
    }
    ok = ok && rc == SQLITE_DONE;
    sqlite3_finalize(rows);
    sqlite3_finalize(insert);
    const std::string mark = "PRAGMA user_version=" + std::to_string(kFormatVersion);
    ok = ok && sqlite3_exec(db_, "DROP TABLE keys_v1", nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(db_, mark.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  if (ok && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return {};
  std::string error = "cannot convert the store of an older version: " + Reason();
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
      {&find_child_, "SELECT id FROM keys WHERE parent=?1 AND folded=?2"},
      {&insert_key_, "INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)"},
      {&get_value_, "SELECT type, data FROM vals WHERE key=?1 AND folded=?2"},
      {&upsert_value_,
       "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
       "ON CONFLICT(key, folded) DO UPDATE SET type=excluded.type, data=excluded.data"},
      {&delete_value_, "DELETE FROM vals WHERE key=?1 AND folded=?2"},
      {&delete_key_values_,
       "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN tree t ON k.parent=t.id) "
       "DELETE FROM vals WHERE key IN tree"},
      {&delete_keys_,
       "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN tree t ON k.parent=t.id) "
       "DELETE FROM keys WHERE id IN tree"},
      {&subkeys_, "SELECT name FROM keys WHERE parent=?1 ORDER BY id"},
      {&values_, "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY seq"},
  };
  for (const Entry& entry : entries) {
    if (!entry.statement->Prepare(db_, entry.sql)) return false;
  }
  return true;
}

sqlite3_int64 RootStore::FindChild(sqlite3_int64 parent, std::u16string_view folded_name) {
  auto use = find_child_.Start();
  sqlite3_bind_int64(use.get(), 1, parent);
  BindText16(use.get(), 2, folded_name);
  switch (use.Step()) {
    case SQLITE_ROW:
      return sqlite3_column_int64(use.get(), 0);
    case SQLITE_DONE:
      return 0;
    default:
      return -1;
  }
}

sqlite3_int64 RootStore::FindKey(std::u16string_view path) {
  sqlite3_int64 id = kRootKeyId;
  for (std::u16string_view part : regnames::SplitKeyPath(path)) {
    id = FindChild(id, regnames::Fold(part));
    if (id <= 0) return id;
  }
  return id;
}

sqlite3_int64 RootStore::EnsureKey(std::u16string_view path) {
  sqlite3_int64 id = kRootKeyId;
  for (std::u16string_view part : regnames::SplitKeyPath(path)) {
    const std::u16string folded = regnames::Fold(part);
    const sqlite3_int64 found = FindChild(id, folded);
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

RegStatus RootStore::GetValue(sqlite3_int64 key, std::u16string_view name, RegValue& out) {
  const std::u16string folded_name = regnames::Fold(name);
  auto use = get_value_.Start();
  sqlite3_bind_int64(use.get(), 1, key);
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
  sqlite3_bind_int64(use.get(), 4, value.TypeNumber());
  BindBytes(use.get(), 5, data.data(), data.size());
  return use.Run() ? RegStatus::Ok : RegStatus::Failed;
}

RegStatus RootStore::DeleteValue(sqlite3_int64 key, std::u16string_view name) {
  const std::u16string folded_name = regnames::Fold(name);
  auto use = delete_value_.Start();
  sqlite3_bind_int64(use.get(), 1, key);
  BindText16(use.get(), 2, folded_name);
  if (!use.Run()) return RegStatus::Failed;
  return sqlite3_changes(db_) > 0 ? RegStatus::Ok : RegStatus::NotFound;
}

// The key with its whole subtree: the values first, then the keys.
RegStatus RootStore::DeleteKey(sqlite3_int64 key) {
  for (Statement* statement : {&delete_key_values_, &delete_keys_}) {
    auto use = statement->Start();
    sqlite3_bind_int64(use.get(), 1, key);
    if (!use.Run()) return RegStatus::Failed;
  }
  return RegStatus::Ok;
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
  std::string Open(const std::filesystem::path& dir, const SqliteFaults& faults) {
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
      const std::filesystem::path file = dir / FileName(root);
      if (std::string error = Store(root).Open(file, faults); !error.empty()) {
        return "registry file " + file.string() + ": " + error;
      }
    }
    return {};
  }

  RegStatus OpenKey(RegRoot root, std::u16string_view path) override {
    return Run(root, Access::Read, [&](RootStore& store) { return KeyIdStatus(store.FindKey(path)); });
  }

  RegStatus OpenKeyForWrite(RegRoot root, std::u16string_view path) override {
    // Every key of a writable store is writable; none of a read-only one.
    const RegStatus status = OpenKey(root, path);
    return status == RegStatus::Ok && Store(root).read_only() ? RegStatus::AccessDenied : status;
  }

  RegStatus CreateKey(RegRoot root, std::u16string_view path) override {
    if (!regnames::KeyPathProblem(path).empty()) return RegStatus::BadKeyPath;
    return Run(root, Access::Write,
               [&](RootStore& store) { return KeyIdStatus(store.EnsureKey(path)); });
  }

  RegStatus GetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     RegValue& out) override {
    return Run(root, Access::Read, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(path);
      return key > 0 ? store.GetValue(key, name, out) : KeyIdStatus(key);
    });
  }

  RegStatus SetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     const RegValue& value) override {
    if (!regnames::KeyPathProblem(path).empty()) return RegStatus::BadKeyPath;
    return Run(root, Access::Write, [&](RootStore& store) {
      const sqlite3_int64 key = store.EnsureKey(path);
      return key > 0 ? store.SetValue(key, name, value) : RegStatus::Failed;
    });
  }

  RegStatus DeleteValue(RegRoot root, std::u16string_view path,
                        std::u16string_view name) override {
    return Run(root, Access::Write, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(path);
      return key > 0 ? store.DeleteValue(key, name) : KeyIdStatus(key);
    });
  }

  RegStatus DeleteKey(RegRoot root, std::u16string_view path) override {
    // A root cannot be deleted.
    if (regnames::SplitKeyPath(path).empty()) return RegStatus::AccessDenied;
    return Run(root, Access::Write, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(path);
      return key > 0 ? store.DeleteKey(key) : KeyIdStatus(key);
    });
  }

  RegStatus EnumSubkeys(RegRoot root, std::u16string_view path,
                        std::vector<std::u16string>& out) override {
    return Run(root, Access::Read, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(path);
      return key > 0 ? store.EnumSubkeys(key, out) : KeyIdStatus(key);
    });
  }

  RegStatus EnumValues(RegRoot root, std::u16string_view path,
                       std::vector<NamedValue>& out) override {
    return Run(root, Access::Read, [&](RootStore& store) {
      const sqlite3_int64 key = store.FindKey(path);
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
          status = store.FailureStatus();
          break;
        }
      }
      if (committed) return RegStatus::Ok;
    }
    undo();
    return status;
  }

 private:
  enum class Access {
    Read,  // statements that must see one state
    Write,
  };

  RootStore& Store(RegRoot root) { return stores_[static_cast<int>(root)]; }

  template <class Operation>
  RegStatus Run(RegRoot root, Access access, Operation&& operation) {
    std::lock_guard lock(mutex_);
    RootStore& store = Store(root);
    const bool write = access == Access::Write;
    if (write && store.read_only()) return RegStatus::AccessDenied;
    // Failures are told apart (a full disk) before a rollback clears the connection's error.
    auto attempt = [&] {
      const RegStatus status = operation(store);
      return status == RegStatus::Failed ? store.FailureStatus() : status;
    };
    if (batch_depth_ > 0) return attempt();
    if (!store.Begin(write)) return store.FailureStatus();
    RegStatus status;
    try {
      status = attempt();
    } catch (...) {
      // An open transaction left behind would make every later call fail.
      store.Rollback();
      throw;
    }
    if (status == RegStatus::Ok || !write) {
      if (store.Commit()) return status;
      status = store.FailureStatus();
    }
    store.Rollback();
    return status;
  }

  std::recursive_mutex mutex_;
  RootStore stores_[2];
  int batch_depth_ = 0;
};

}  // namespace

OpenRegistryResult OpenSqliteRegistry(const std::filesystem::path& dir, SqliteFaults faults) {
  std::error_code ec;
  if (!std::filesystem::exists(dir, ec)) {
    if (std::filesystem::create_directories(dir, ec)) {
      std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
    }
    if (ec) return {nullptr, "registry folder " + dir.string() + ": " + ec.message()};
  }
  auto registry = std::make_unique<SqliteRegistry>();
  if (std::string error = registry->Open(dir, faults); !error.empty()) return {nullptr, error};
  return {std::move(registry), {}};
}

}  // namespace platform
