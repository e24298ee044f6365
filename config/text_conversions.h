#pragma once
// Byte/character conversions the stored settings rely on. Texts kept in the registry are 16-bit;
// texts exchanged with the libraries are 8-bit. These helpers keep C-string semantics (they stop
// at the first NUL) because the values they convert travel through fixed, terminated buffers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// Each byte becomes the character of the same code, up to the first NUL.
std::u16string WidenText(std::string_view bytes);
// Each character becomes its low 8 bits, up to the first NUL.
std::string NarrowText(std::u16string_view text);

// Clears `maximum` bytes of `out`, then reads hexadecimal tokens of one or two digits separated by
// blanks or tabs (a longer run of digits is split into pairs) into consecutive bytes. Stops at the
// end of the text, at the first other character (dropping a pending single digit), or when a digit
// arrives after `maximum` bytes were produced. Returns the number of bytes produced.
std::size_t HexTextToBytes(std::string_view text, std::uint8_t* out, std::size_t maximum);

// Two upper-case hexadecimal digits per byte, one blank between bytes when `separated`.
std::string BytesToHexText(const std::uint8_t* bytes, std::size_t count, bool separated);

}  // namespace config
