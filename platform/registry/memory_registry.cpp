#include "platform/registry/memory_registry.h"

#include <algorithm>

#include "platform/registry/reg_names.h"

namespace platform {

using regnames::EqualsFolded;
using regnames::SplitKeyPath;

std::unique_ptr<MemoryRegistry> CreateMemoryRegistry() { return std::make_unique<MemoryRegistry>(); }

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::Find(RegRoot root, std::u16string_view path) {
  Key* key = &roots_[static_cast<int>(root)];
  for (std::u16string_view part : SplitKeyPath(path)) {
    auto it = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                           [&](const Key& k) { return EqualsFolded(k.name, part); });
    if (it == key->subkeys.end()) return nullptr;
    key = &*it;
  }
  return key;
}

MemoryRegistry::Key& MemoryRegistry::FindOrCreate(RegRoot root, std::u16string_view path) {
  Key* key = &roots_[static_cast<int>(root)];
  for (std::u16string_view part : SplitKeyPath(path)) {
    auto it = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                           [&](const Key& k) { return EqualsFolded(k.name, part); });
    if (it == key->subkeys.end()) {
      key->subkeys.push_back(Key{std::u16string(part), {}, {}});
      key = &key->subkeys.back();
    } else {
      key = &*it;
    }
  }
  return *key;
}

RegStatus MemoryRegistry::BeginRead() {
  ++reads_;
  if (failing_reads_ > 0) {
    --failing_reads_;
    return RegStatus::Failed;
  }
  return RegStatus::Ok;
}

bool MemoryRegistry::Denied(RegRoot root, std::u16string_view path) const {
  const auto parts = SplitKeyPath(path);
  return std::any_of(denied_.begin(), denied_.end(), [&](const DeniedPath& denied) {
    return denied.root == root && denied.folded_parts.size() <= parts.size() &&
           std::equal(denied.folded_parts.begin(), denied.folded_parts.end(), parts.begin(),
                      [](const std::u16string& d, std::u16string_view p) {
                        return EqualsFolded(d, p);
                      });
  });
}

RegStatus MemoryRegistry::BeginWrite(RegRoot root, std::u16string_view path) {
  ++writes_;
  if (Denied(root, path)) return RegStatus::AccessDenied;
  if (failing_writes_ > 0) {
    --failing_writes_;
    return failing_write_status_;
  }
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::OpenKey(RegRoot root, std::u16string_view path) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginRead(); s != RegStatus::Ok) return s;
  return Find(root, path) ? RegStatus::Ok : RegStatus::NotFound;
}

RegStatus MemoryRegistry::OpenKeyForWrite(RegRoot root, std::u16string_view path) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginRead(); s != RegStatus::Ok) return s;
  if (!Find(root, path)) return RegStatus::NotFound;
  return Denied(root, path) ? RegStatus::AccessDenied : RegStatus::Ok;
}

RegStatus MemoryRegistry::CreateKey(RegRoot root, std::u16string_view path) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginWrite(root, path); s != RegStatus::Ok) return s;
  if (!regnames::KeyPathProblem(path).empty()) return RegStatus::BadKeyPath;
  FindOrCreate(root, path);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::GetValue(RegRoot root, std::u16string_view path,
                                   std::u16string_view name, RegValue& out) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginRead(); s != RegStatus::Ok) return s;
  Key* key = Find(root, path);
  if (!key) return RegStatus::NotFound;
  for (const NamedValue& v : key->values) {
    if (EqualsFolded(v.name, name)) {
      out = v.value;
      return RegStatus::Ok;
    }
  }
  return RegStatus::NotFound;
}

RegStatus MemoryRegistry::SetValue(RegRoot root, std::u16string_view path,
                                   std::u16string_view name, const RegValue& value) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginWrite(root, path); s != RegStatus::Ok) return s;
  if (!regnames::KeyPathProblem(path).empty()) return RegStatus::BadKeyPath;
  Key& key = FindOrCreate(root, path);
  for (NamedValue& v : key.values) {
    if (EqualsFolded(v.name, name)) {
      v.value = value;
      return RegStatus::Ok;
    }
  }
  key.values.push_back(NamedValue{std::u16string(name), value});
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteValue(RegRoot root, std::u16string_view path,
                                      std::u16string_view name) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginWrite(root, path); s != RegStatus::Ok) return s;
  Key* key = Find(root, path);
  if (!key) return RegStatus::NotFound;
  auto it = std::find_if(key->values.begin(), key->values.end(),
                         [&](const NamedValue& v) { return EqualsFolded(v.name, name); });
  if (it == key->values.end()) return RegStatus::NotFound;
  key->values.erase(it);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteKey(RegRoot root, std::u16string_view path) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginWrite(root, path); s != RegStatus::Ok) return s;
  auto parts = SplitKeyPath(path);
  // A root cannot be deleted.
  if (parts.empty()) return RegStatus::AccessDenied;
  const std::u16string_view leaf = parts.back();
  parts.pop_back();
  Key* parent = &roots_[static_cast<int>(root)];
  for (std::u16string_view part : parts) {
    auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                           [&](const Key& k) { return EqualsFolded(k.name, part); });
    if (it == parent->subkeys.end()) return RegStatus::NotFound;
    parent = &*it;
  }
  auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                         [&](const Key& k) { return EqualsFolded(k.name, leaf); });
  if (it == parent->subkeys.end()) return RegStatus::NotFound;
  parent->subkeys.erase(it);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::EnumSubkeys(RegRoot root, std::u16string_view path,
                                      std::vector<std::u16string>& out) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginRead(); s != RegStatus::Ok) return s;
  Key* key = Find(root, path);
  if (!key) return RegStatus::NotFound;
  out.clear();
  for (const Key& sub : key->subkeys) out.push_back(sub.name);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::EnumValues(RegRoot root, std::u16string_view path,
                                     std::vector<NamedValue>& out) {
  std::lock_guard lock(mutex_);
  if (RegStatus s = BeginRead(); s != RegStatus::Ok) return s;
  Key* key = Find(root, path);
  if (!key) return RegStatus::NotFound;
  out = key->values;
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::Batch(const std::function<RegStatus(Registry&)>& body) {
  std::lock_guard lock(mutex_);
  Key saved[2] = {roots_[0], roots_[1]};
  auto restore = [&] {
    roots_[0] = std::move(saved[0]);
    roots_[1] = std::move(saved[1]);
  };
  RegStatus s;
  try {
    s = body(*this);
  } catch (...) {
    restore();
    throw;
  }
  if (s != RegStatus::Ok) restore();
  return s;
}

void MemoryRegistry::DenyWrites(RegRoot root, std::u16string_view path) {
  std::lock_guard lock(mutex_);
  DeniedPath denied{root, {}};
  for (std::u16string_view part : SplitKeyPath(path)) {
    denied.folded_parts.push_back(regnames::Fold(part));
  }
  denied_.push_back(std::move(denied));
}

void MemoryRegistry::FailNextWrites(int count, RegStatus status) {
  std::lock_guard lock(mutex_);
  failing_writes_ = count;
  failing_write_status_ = status;
}

void MemoryRegistry::FailNextReads(int count) {
  std::lock_guard lock(mutex_);
  failing_reads_ = count;
}

void MemoryRegistry::ClearFaults() {
  std::lock_guard lock(mutex_);
  denied_.clear();
  failing_writes_ = 0;
  failing_reads_ = 0;
}

std::size_t MemoryRegistry::reads() const {
  std::lock_guard lock(mutex_);
  return reads_;
}

std::size_t MemoryRegistry::writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

}  // namespace platform
