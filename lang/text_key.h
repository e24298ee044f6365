#pragma once
// The two kinds of entries of the text catalogue (lang/texts.h).

#include <string_view>

namespace lang {

// One visible text: its key in the language file and the English text shown when the file
// (or the key) is missing.
struct TextKey {
  std::u16string_view key;
  std::u16string_view fallback;
};

// A value list: entries "pattern" with %d = first, first + 1, ... read until the first empty text.
// Entries have no built-in text, so without a language file the list is empty.
struct TextList {
  std::u16string_view pattern;
  int first;
};

}  // namespace lang
