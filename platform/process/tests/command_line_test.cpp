#include <gtest/gtest.h>

#include "platform/process/process.h"

namespace platform {
namespace {

TEST(SplitCommandLine, FollowsTheQuotingAndBackslashRules) {
  struct Case {
    std::u16string line;
    std::vector<std::u16string> args;
  };
  const Case cases[] = {
      {u"", {}},
      {u"  \t ", {}},
      {u"a b\tc", {u"a", u"b", u"c"}},
      {u"  lead  trail  ", {u"lead", u"trail"}},
      {u"\"a b\" c", {u"a b", u"c"}},
      {u"x\"y z\"w", {u"xy zw"}},                 // quotes group inside an argument
      {u"\"\" b", {u"", u"b"}},                   // an empty quoted argument counts
      {u"a\\\\b c\\", {u"a\\\\b", u"c\\"}},       // backslashes not before a quote are literal
      {u"a\\\"b", {u"a\"b"}},                     // 1 backslash + quote: literal quote
      {u"a\\\\\"b c\"", {u"a\\b c"}},             // 2 + quote: one backslash, quote toggles
      {u"a\\\\\\\"b", {u"a\\\"b"}},               // 3 + quote: one backslash and a quote
      {u"\"C:\\Program Files\\x.exe\" -W \"eth 0\"", {u"C:\\Program Files\\x.exe", u"-W", u"eth 0"}},
      {u"\"unterminated arg", {u"unterminated arg"}},
      {u"\"end with slash\\\\\"", {u"end with slash\\"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
    EXPECT_EQ(SplitCommandLine(c.line), c.args);
  }
}

}  // namespace
}  // namespace platform
