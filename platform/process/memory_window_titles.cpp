#include "platform/process/memory_window_titles.h"

namespace platform {

class MemoryWindowTitles::MemoryClaim final : public WindowTitles::Claim {
 public:
  MemoryClaim(std::shared_ptr<Shared> shared, std::u16string title)
      : shared_(std::move(shared)), title_(std::move(title)) {
    std::lock_guard lock(shared_->mutex);
    ++shared_->holders[title_];
  }
  ~MemoryClaim() override {
    std::lock_guard lock(shared_->mutex);
    auto it = shared_->holders.find(title_);
    if (--it->second == 0) shared_->holders.erase(it);
  }

 private:
  std::shared_ptr<Shared> shared_;
  std::u16string title_;
};

MemoryWindowTitles::MemoryWindowTitles() : shared_(std::make_shared<Shared>()) {}
MemoryWindowTitles::~MemoryWindowTitles() = default;

std::unique_ptr<WindowTitles::Claim> MemoryWindowTitles::Announce(std::u16string_view title) {
  return std::make_unique<MemoryClaim>(shared_, std::u16string(title));
}

bool MemoryWindowTitles::Exists(std::u16string_view title) const {
  std::lock_guard lock(shared_->mutex);
  shared_->searches.emplace_back(title);
  return shared_->holders.count(std::u16string(title)) != 0;
}

std::vector<std::u16string> MemoryWindowTitles::Searches() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->searches;
}

}  // namespace platform
