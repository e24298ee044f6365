#include "config/text_conversions.h"

#include <cstring>

namespace config {

std::u16string WidenText(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char byte : bytes) {
    if (byte == '\0') break;
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
  }
  return text;
}

std::string NarrowText(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t ch : text) {
    if (ch == u'\0') break;
    bytes.push_back(static_cast<char>(ch & 0xFF));
  }
  return bytes;
}

namespace {
int HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}
}  // namespace

std::size_t HexTextToBytes(std::string_view text, std::uint8_t* out, std::size_t maximum) {
  if (maximum > 0) std::memset(out, 0, maximum);
  std::size_t produced = 0;
  int pending = -1;  // high nibble of a token with one digit so far
  auto flush = [&] {
    if (pending >= 0) out[produced++] = static_cast<std::uint8_t>(pending);
    pending = -1;
  };
  for (char ch : text) {
    if (ch == '\0') break;
    if (ch == ' ' || ch == '\t') {
      flush();
      continue;
    }
    int digit = HexDigitValue(ch);
    if (digit < 0) return produced;  // a pending single digit is dropped
    if (pending < 0) {
      if (produced >= maximum) return produced;
      pending = digit;
    } else {
      out[produced++] = static_cast<std::uint8_t>(pending * 16 + digit);
      pending = -1;
    }
  }
  flush();
  return produced;
}

std::string BytesToHexText(const std::uint8_t* bytes, std::size_t count, bool separated) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    if (separated && i > 0) text.push_back(' ');
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

}  // namespace config
