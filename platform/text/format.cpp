#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/text/text.h"

namespace platform {
namespace {

// Bounds a width or precision taken from a format, which may come from a language file.
constexpr int kMaxField = 4096;

struct Conversion {
  std::string flags;  // any of "-0 +#", as written
  int width = -1;
  int precision = -1;
  bool longLong = false;
  char16_t type = 0;
};

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads decimal digits at `pos`, saturating at kMaxField.
int ReadNumber(std::u16string_view format, std::size_t& pos) {
  int value = 0;
  while (pos < format.size() && IsDigit(format[pos])) {
    value = std::min(kMaxField, value * 10 + (format[pos] - u'0'));
    ++pos;
  }
  return value;
}

// Parses the conversion after a '%' starting at `pos`; false when the format ends inside it.
bool ParseConversion(std::u16string_view format, std::size_t& pos, Conversion& conv) {
  while (pos < format.size() && std::u16string_view(u"-0 +#").find(format[pos]) != std::u16string_view::npos) {
    conv.flags.push_back(static_cast<char>(format[pos++]));
  }
  if (pos < format.size() && IsDigit(format[pos])) conv.width = ReadNumber(format, pos);
  if (pos < format.size() && format[pos] == u'.') {
    ++pos;
    conv.precision = ReadNumber(format, pos);
  }
  if (pos < format.size() && format[pos] == u'h') {
    while (pos < format.size() && format[pos] == u'h') ++pos;
  } else if (pos < format.size() && format[pos] == u'l') {
    ++pos;
    if (pos < format.size() && format[pos] == u'l') {
      conv.longLong = true;
      ++pos;
    }
  }
  if (pos >= format.size()) return false;
  conv.type = format[pos++];
  return true;
}

void Pad(std::u16string& out, std::u16string_view body, const Conversion& conv) {
  const std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
  const std::size_t fill = width > body.size() ? width - body.size() : 0;
  const bool left = conv.flags.find('-') != std::string::npos;
  if (!left) out.append(fill, u' ');
  out.append(body);
  if (left) out.append(fill, u' ');
}

// Formats one integer with the C library, which already knows every flag combination.
template <class T>
void AppendNumber(std::u16string& out, const Conversion& conv, const char* lengthAndType, T value) {
  std::string cFormat = "%" + conv.flags;
  if (conv.width >= 0) cFormat += std::to_string(conv.width);
  if (conv.precision >= 0) cFormat += "." + std::to_string(conv.precision);
  cFormat += lengthAndType;
  char small[128];
  int length = std::snprintf(small, sizeof small, cFormat.c_str(), value);
  if (length < 0) return;
  if (static_cast<std::size_t>(length) < sizeof small) {
    out.append(WidenCodePage(std::string_view(small, static_cast<std::size_t>(length))));
    return;
  }
  std::string large(static_cast<std::size_t>(length) + 1, '\0');
  length = std::snprintf(large.data(), large.size(), cFormat.c_str(), value);
  if (length > 0) out.append(WidenCodePage(std::string_view(large.data(), static_cast<std::size_t>(length))));
}

// Reals do not go through the C library: its decimal point follows the process locale, which a
// GUI toolkit may set to one that writes "5,5".
void AppendFixed(std::u16string& out, const Conversion& conv, double value) {
  const auto has = [&conv](char flag) { return conv.flags.find(flag) != std::string::npos; };
  char digits[kMaxField + 400];  // the largest double has 309 integer digits
  const int precision = conv.precision >= 0 ? conv.precision : 6;
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
  if (error != std::errc()) return;
  std::string_view body(digits, static_cast<std::size_t>(end - digits));
  std::string sign;
  if (body.starts_with('-')) {
    sign = "-";
    body.remove_prefix(1);
  } else if (has('+')) {
    sign = "+";
  } else if (has(' ')) {
    sign = " ";
  }
  std::string text(body);
  if (precision == 0 && has('#') && std::isfinite(value)) text += '.';
  const std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
  if (has('0') && !has('-') && std::isfinite(value) && sign.size() + text.size() < width) {
    text.insert(0, width - sign.size() - text.size(), '0');
  }
  Pad(out, WidenCodePage(sign + text), conv);
}

bool AsInteger(const FormatArg& arg, std::uint64_t& bits) {
  if (const auto* s = std::get_if<std::int64_t>(&arg)) {
    bits = static_cast<std::uint64_t>(*s);
    return true;
  }
  if (const auto* u = std::get_if<std::uint64_t>(&arg)) {
    bits = *u;
    return true;
  }
  return false;
}

void AppendConversion(std::u16string& out, const Conversion& conv, const FormatArg& arg) {
  std::uint64_t bits = 0;
  switch (conv.type) {
    case u'd':
    case u'i':
      if (!AsInteger(arg, bits)) return;
      if (conv.longLong) {
        AppendNumber(out, conv, "lld", static_cast<long long>(bits));
      } else {
        AppendNumber(out, conv, "d", static_cast<int>(static_cast<std::int32_t>(bits)));
      }
      return;
    case u'u':
    case u'x':
    case u'X': {
      if (!AsInteger(arg, bits)) return;
      const char type[2] = {static_cast<char>(conv.type), '\0'};
      if (conv.longLong) {
        AppendNumber(out, conv, (std::string("ll") + type).c_str(), static_cast<unsigned long long>(bits));
      } else {
        AppendNumber(out, conv, type, static_cast<unsigned>(static_cast<std::uint32_t>(bits)));
      }
      return;
    }
    case u'f':
      if (const auto* d = std::get_if<double>(&arg)) AppendFixed(out, conv, *d);
      return;
    case u'c':
      if (AsInteger(arg, bits)) {
        const char16_t c = static_cast<char16_t>(bits);
        Pad(out, std::u16string_view(&c, 1), conv);
      }
      return;
    case u's':
      if (const auto* s = std::get_if<std::u16string_view>(&arg)) {
        std::u16string_view text = *s;
        if (conv.precision >= 0) text = text.substr(0, static_cast<std::size_t>(conv.precision));
        Pad(out, text, conv);
      }
      return;
    default:
      return;
  }
}

bool IsKnownType(char16_t type) { return std::u16string_view(u"diuxXfcs").find(type) != std::u16string_view::npos; }

}  // namespace

std::u16string FormatArgs(std::u16string_view format, std::initializer_list<FormatArg> args) {
  std::u16string out;
  out.reserve(format.size() + 16 * args.size());
  auto next = args.begin();
  std::size_t pos = 0;
  while (pos < format.size()) {
    const std::size_t percent = format.find(u'%', pos);
    if (percent == std::u16string_view::npos) {
      out.append(format.substr(pos));
      break;
    }
    out.append(format.substr(pos, percent - pos));
    pos = percent + 1;
    if (pos < format.size() && format[pos] == u'%') {
      out.push_back(u'%');
      ++pos;
      continue;
    }
    Conversion conv;
    if (!ParseConversion(format, pos, conv) || !IsKnownType(conv.type)) {
      // Not ours to interpret (or cut short): show it as written rather than guess.
      out.append(format.substr(percent, pos - percent));
      continue;
    }
    if (next == args.end()) continue;
    AppendConversion(out, conv, *next++);
  }
  return out;
}

}  // namespace platform
