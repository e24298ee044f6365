#pragma once
// In-memory Registry with the same semantics as the SQLite store, for tests of code that stores
// settings. Thread-safe like the real store.
//
// Fault points, so tests can walk the paths where the registry refuses:
//   DenyWrites(root, path)  OpenKeyForWrite answers AccessDenied for that key and every key below
//                           it, and every write there fails with AccessDenied.
//   FailNextWrites(n, s)    the next n write calls fail with s, Failed unless given (anywhere).
//   FailNextReads(n)        the next n read calls fail with Failed (anywhere).
// reads() and writes() count the calls made, for tests that check how often the store is asked.

#include <cstddef>
#include <mutex>
#include <vector>

#include "platform/registry/registry.h"

namespace platform {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  RegStatus OpenKey(RegRoot root, std::u16string_view path) override;
  RegStatus OpenKeyForWrite(RegRoot root, std::u16string_view path) override;
  RegStatus CreateKey(RegRoot root, std::u16string_view path) override;
  RegStatus GetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     RegValue& out) override;
  RegStatus SetValue(RegRoot root, std::u16string_view path, std::u16string_view name,
                     const RegValue& value) override;
  RegStatus DeleteValue(RegRoot root, std::u16string_view path, std::u16string_view name) override;
  RegStatus DeleteKey(RegRoot root, std::u16string_view path) override;
  RegStatus EnumSubkeys(RegRoot root, std::u16string_view path,
                        std::vector<std::u16string>& out) override;
  RegStatus EnumValues(RegRoot root, std::u16string_view path,
                       std::vector<NamedValue>& out) override;
  RegStatus Batch(const std::function<RegStatus(Registry&)>& body) override;

  void DenyWrites(RegRoot root, std::u16string_view path);
  void FailNextWrites(int count, RegStatus status = RegStatus::Failed);
  void FailNextReads(int count);
  void ClearFaults();
  std::size_t reads() const;
  std::size_t writes() const;

 private:
  struct Key {
    std::u16string name;
    std::vector<Key> subkeys;  // in creation order
    std::vector<NamedValue> values;
  };
  struct DeniedPath {
    RegRoot root;
    std::vector<std::u16string> folded_parts;
  };

  Key* Find(RegRoot root, std::u16string_view path);
  Key& FindOrCreate(RegRoot root, std::u16string_view path);
  bool Denied(RegRoot root, std::u16string_view path) const;
  RegStatus BeginRead();
  RegStatus BeginWrite(RegRoot root, std::u16string_view path);

  mutable std::recursive_mutex mutex_;
  Key roots_[2];
  std::vector<DeniedPath> denied_;
  int failing_writes_ = 0;
  RegStatus failing_write_status_ = RegStatus::Failed;
  int failing_reads_ = 0;
  std::size_t reads_ = 0;
  std::size_t writes_ = 0;
};

}  // namespace platform
