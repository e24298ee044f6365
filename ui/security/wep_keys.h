#pragma once
// WEP key sizes and the checks of typed keys.
//
// | length index | bits | key bytes | ASCII characters | hexadecimal digits |
// |--------------|------|-----------|------------------|--------------------|
// | 0            | 64   | 5         | 5                | 10                 |
// | 1            | 128  | 13        | 13               | 26                 |
// | 2            | 256  | 29        | 29               | 58                 |

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui::wep {

// "WEPKeyFormat": how keys are typed.
inline constexpr int kHexadecimal = 0;
inline constexpr int kAscii = 1;

// Length index of a stored "WEPKeyLength": 128 gives 1, 256 gives 2, anything else 0.
int LengthIndexOfBits(int bits);
int BitsOfLengthIndex(int lengthIndex);
int KeyBytes(int lengthIndex);
// Characters a key box needs in `format`.
int RequiredCharacters(int lengthIndex, int format);

struct HexFiltered {
  std::u16string digits;                    // the hexadecimal digits of the text, in order
  std::optional<std::size_t> firstRemoved;  // where the first other character stood
};
HexFiltered KeepHexDigits(std::u16string_view text);

// The key bytes of a typed key (blanks at both ends ignored), or none when it does not have the
// required number of characters, or holds a character that is no hexadecimal digit
// (hexadecimal format) or is not exactly one byte of the code page (ASCII format).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> TypedKeyBytes(std::u16string_view typed,
                                                                     int lengthIndex, int format);

}  // namespace ui::wep
