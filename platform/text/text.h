#pragma once
// 16-bit texts, the system code page and printf-style formatting of 16-bit texts.
//
// The system's own texts are std::u16string. Texts exchanged with the two closed libraries are
// 8-bit in the system code page, which on Linux is Latin-1: every byte maps to the character of
// the same code and back, so SSID bytes survive a round trip.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace platform {

// System code page -> 16-bit: each byte becomes the character of the same code.
std::u16string WidenCodePage(std::string_view bytes);
// 16-bit -> system code page: characters above 0xFF become '?'.
std::string NarrowCodePage(std::u16string_view text);

std::string ToUtf8(std::u16string_view text);
// Malformed sequences become U+FFFD; never fails.
std::u16string FromUtf8(std::string_view utf8);
// Nullopt for malformed input (overlong forms, surrogates, truncated sequences), for readers
// that must refuse a bad file rather than repair it.
std::optional<std::u16string> FromUtf8Strict(std::string_view utf8);

// The first `maxUnits` code units, one less when the last would be half of a surrogate pair.
std::u16string_view CutUtf16(std::u16string_view text, std::size_t maxUnits);

// Letter-case folding as the platform's name comparisons use it (ASCII and Latin-1 letters).
std::u16string ToUpper(std::u16string_view text);
char16_t ToUpperChar(char16_t c);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

// Blanks, tabs, carriage returns and line feeds removed at both ends.
std::u16string_view Trim(std::u16string_view text);

// One argument of Format. Integers keep their signedness so that "%lu" of a 32-bit count and
// "%d" of -1 print as the C library would.
using FormatArg = std::variant<std::int64_t, std::uint64_t, double, std::u16string_view>;

// printf-style formatting of 16-bit texts: flags "-", "0", " ", "+", "#"; field width; precision;
// length modifiers h, l, ll; conversions d i u x X c s f %. As on the platform, int and long are
// 32 bits: d i u x X print the low 32 bits of the argument (so "%u" of -1 is 4294967295) unless
// the length is ll. Width and precision are capped at 4096.
// A missing argument or a conversion whose argument has the wrong kind prints nothing for that
// conversion, never reads past the argument list. An unknown conversion is copied as it stands.
std::u16string FormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args);

namespace detail {
inline FormatArg ToFormatArg(const std::u16string& s) { return std::u16string_view(s); }
inline FormatArg ToFormatArg(std::u16string_view s) { return s; }
inline FormatArg ToFormatArg(const char16_t* s) { return s ? std::u16string_view(s) : std::u16string_view(); }
inline FormatArg ToFormatArg(double d) { return d; }
template <class T>
  requires std::is_integral_v<T>
FormatArg ToFormatArg(T v) {
  if constexpr (std::is_signed_v<T>) return static_cast<std::int64_t>(v);
  else return static_cast<std::uint64_t>(v);
}
}  // namespace detail

template <class... Args>
std::u16string Format(std::u16string_view format, const Args&... args) {
  return FormatArgs(format, {detail::ToFormatArg(args)...});
}

}  // namespace platform
