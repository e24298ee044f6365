// The in-memory title registry behaves like the lock-file one: exact titles, counted holders.
#include "platform/process/memory_window_titles.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(MemoryWindowTitles, ATitleExistsWhileAnyOfItsClaimsLives) {
  MemoryWindowTitles titles;
  auto first = titles.Announce(u"Main   CHIP");
  auto second = titles.Announce(u"Main   CHIP");
  EXPECT_TRUE(titles.Exists(u"Main   CHIP"));
  EXPECT_FALSE(titles.Exists(u"Main"));         // whole titles only
  EXPECT_FALSE(titles.Exists(u"main   chip"));  // with letter case
  first.reset();
  EXPECT_TRUE(titles.Exists(u"Main   CHIP"));
  second.reset();
  EXPECT_FALSE(titles.Exists(u"Main   CHIP"));
  EXPECT_EQ(titles.Searches(),
            (std::vector<std::u16string>{u"Main   CHIP", u"Main", u"main   chip", u"Main   CHIP",
                                         u"Main   CHIP"}));
}

TEST(MemoryWindowTitles, AClaimMayOutliveTheRegistry) {
  auto titles = std::make_unique<MemoryWindowTitles>();
  auto claim = titles->Announce(u"Title");
  titles.reset();
  claim.reset();  // must not touch freed memory (the sanitized build checks)
}

}  // namespace
}  // namespace platform
