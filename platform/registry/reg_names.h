#pragma once
// Name handling shared by the registry stores, the .reg format and the vzreg tool: letter-case
// folding of key and value names, and key path splitting.
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

// The limits of the registry the stores keep to, as the system's own registry does.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxKeyDepth = 512;
// Why a key path cannot be created (a name too long, too many levels); empty when it can.
std::string KeyPathProblem(std::u16string_view path);

}  // namespace platform::regnames
