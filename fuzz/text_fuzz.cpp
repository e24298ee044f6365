// Arbitrary bytes as a format text (language files supply some formats) against a fixed argument
// list holding every kind of argument, and through the UTF-8 conversions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string format(size / 2, u'\0');
  for (std::size_t i = 0; i < format.size(); ++i) {
    format[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  (void)platform::Format(format, 2346, u"Disable", -1.5, std::uint64_t{18'446'744'073'709'551'615u});
  (void)platform::Format(format);

  // Whatever the decoder makes of the bytes must encode and decode again unchanged.
  const std::u16string decoded = platform::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  if (platform::FromUtf8(platform::ToUtf8(decoded)) != decoded) std::abort();
  return 0;
}
