#pragma once
// UTF-8 <-> 16-bit text for the window module's JSON output and command input. Private to the
// window module so that it does not wait for the text service.

#include <string>
#include <string_view>

namespace platform::window::detail {

// Lone surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);

}  // namespace platform::window::detail
