#pragma once
// Name handling shared by the registry stores, the .reg format and the vzreg tool: letter-case
// folding of key and value names, key path splitting and UTF-8/UTF-16 conversion.
//
// The folding is part of the stored format (the SQLite store indexes folded names), so changing
// it changes which stored names match; extend it only together with a store format version.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::regnames {

// Upper-case form used for name comparison: ASCII, Latin-1, Latin Extended-A, basic Greek and
// Cyrillic letters. Everything else compares as is.
char16_t FoldChar(char16_t c);
std::u16string Fold(std::u16string_view name);
bool EqualsFolded(std::u16string_view a, std::u16string_view b);

// The components of a key path. Backslashes separate; empty components (leading, trailing or
// doubled backslashes) are dropped, so "" and "\" both name the root.
std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path);

// UTF-8 -> UTF-16. Nullopt for malformed input (overlong forms, surrogates, truncated sequences).
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
// UTF-16 -> UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace platform::regnames
