#pragma once
// Hexadecimal digits as the key and pass phrase boxes accept them: 0-9, a-f, A-F.

#include <algorithm>
#include <string_view>

namespace ui {

inline bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

inline bool AllHexDigits(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), IsHexDigit);
}

}  // namespace ui
