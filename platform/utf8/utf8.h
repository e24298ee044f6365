#pragma once
// UTF-8 <-> 16-bit text for the platform modules that talk to the outside in UTF-8 (JSON dumps,
// command input, program arguments, lock-file names). Kept here so that they do not wait for
// the text service; meant to give way to it.

#include <string>
#include <string_view>

namespace platform::utf8 {

// Lone surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);

// The first `maxUnits` code units, one less when the last would be half of a surrogate pair.
std::u16string_view CutUtf16(std::u16string_view text, std::size_t maxUnits);

}  // namespace platform::utf8
