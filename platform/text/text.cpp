#include "platform/text/text.h"

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
  }
}

bool IsTrimmed(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

std::u16string WidenCodePage(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

std::string NarrowCodePage(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// Each maximal ill-formed subsequence becomes one U+FFFD, so a broken byte never swallows the
// valid character after it.
namespace {
std::u16string DecodeUtf8(std::string_view utf8, bool& malformed) {
  malformed = false;
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) {
      out.push_back(lead);
      continue;
    }
    int trailing = 0;
    char32_t cp = 0;
    // The first continuation byte's range excludes overlong forms, surrogates and > U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trailing = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trailing = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trailing = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out.push_back(kReplacement);
      malformed = true;
      continue;
    }
    bool complete = true;
    for (int k = 0; k < trailing; ++k) {
      const unsigned char c = i < utf8.size() ? static_cast<unsigned char>(utf8[i]) : 0;
      if (i >= utf8.size() || c < low || c > high) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++i;
    }
    if (complete) {
      AppendUtf16(out, cp);
    } else {
      out.push_back(kReplacement);
      malformed = true;
    }
  }
  return out;
}
}  // namespace

std::u16string FromUtf8(std::string_view utf8) {
  bool malformed = false;
  return DecodeUtf8(utf8, malformed);
}

std::optional<std::u16string> FromUtf8Strict(std::string_view utf8) {
  bool malformed = false;
  std::u16string text = DecodeUtf8(utf8, malformed);
  if (malformed) return std::nullopt;
  return text;
}

std::u16string_view CutUtf16(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  std::size_t n = maxUnits;
  if (n > 0 && IsHighSurrogate(text[n - 1])) --n;
  return text.substr(0, n);
}

char16_t ToUpperChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  // Latin-1 lower-case letters sit 0x20 above their capitals, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x0178;  // its capital lies outside Latin-1
  return c;
}

std::u16string ToUpper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = ToUpperChar(c);
  return out;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpperChar(a[i]) != ToUpperChar(b[i])) return false;
  }
  return true;
}

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace platform
