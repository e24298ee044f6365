#pragma once
// WindowTitles inside one process, for tests: titles announced here exist while their claims
// live. A claim may outlive the object that made it. Thread-safe.
//
// Searches() lists every title asked for with Exists, in order, so that a test can tell a
// search that found nothing from one that never happened.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/process/process.h"

namespace platform {

class MemoryWindowTitles final : public WindowTitles {
 public:
  MemoryWindowTitles();
  ~MemoryWindowTitles() override;

  std::unique_ptr<Claim> Announce(std::u16string_view title) override;
  bool Exists(std::u16string_view title) const override;

  std::vector<std::u16string> Searches() const;

 private:
  struct Shared {
    std::mutex mutex;
    std::map<std::u16string, int> holders;  // title -> live claims
    std::vector<std::u16string> searches;
  };
  class MemoryClaim;
  std::shared_ptr<Shared> shared_;
};

}  // namespace platform
