#include "ui/security/wep_keys.h"

#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "platform/text/text.h"
#include "ui/security/hex_digits.h"

namespace ui::wep {
namespace {

constexpr int kBits[] = {64, 128, 256};

}  // namespace

int LengthIndexOfBits(int bits) { return bits == 128 ? 1 : bits == 256 ? 2 : 0; }

int BitsOfLengthIndex(int lengthIndex) {
  return lengthIndex >= 0 && lengthIndex <= 2 ? kBits[lengthIndex] : kBits[0];
}

int KeyBytes(int lengthIndex) { return config::WepKeyBytes(BitsOfLengthIndex(lengthIndex)); }

int RequiredCharacters(int lengthIndex, int format) {
  return format == kAscii ? KeyBytes(lengthIndex) : 2 * KeyBytes(lengthIndex);
}

HexFiltered KeepHexDigits(std::u16string_view text) {
  HexFiltered filtered;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHexDigit(text[i])) {
      filtered.digits.push_back(text[i]);
    } else if (!filtered.firstRemoved) {
      filtered.firstRemoved = i;
    }
  }
  return filtered;
}

std::optional<std::vector<std::uint8_t>> TypedKeyBytes(std::u16string_view typed, int lengthIndex,
                                                       int format) {
  const std::u16string_view key = platform::Trim(typed);
  if (static_cast<int>(key.size()) != RequiredCharacters(lengthIndex, format)) return std::nullopt;
  const auto bytes = static_cast<std::size_t>(KeyBytes(lengthIndex));
  if (format == kAscii) {
    // Each character must be one byte of the code page, and come back as itself.
    const std::string narrow = platform::NarrowCodePage(key);
    if (narrow.size() != bytes || platform::WidenCodePage(narrow) != key) return std::nullopt;
    return std::vector<std::uint8_t>(narrow.begin(), narrow.end());
  }
  if (!AllHexDigits(key)) return std::nullopt;
  std::vector<std::uint8_t> out(bytes);
  (void)config::HexTextToBytes(config::NarrowText(key), out.data(), out.size());
  return out;
}

}  // namespace ui::wep
