#include "platform/profile/ini_file.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <system_error>
#include <unordered_map>

#include "platform/text/text.h"

namespace platform {
namespace {

// Far beyond any product or language file; a larger file is not one of ours.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

// Hashing and comparing names with their letter case folded lets lookups use the caller's
// view directly, without building a folded copy.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::u16string_view text) const noexcept {
    std::uint64_t hash = 14695981039346656037u;
    for (char16_t c : text) {
      hash ^= ToUpperChar(c);
      hash *= 1099511628211u;
    }
    return static_cast<std::size_t>(hash);
  }
};

struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const noexcept { return EqualsIgnoreCase(a, b); }
};

template <class Value>
using FoldedMap = std::unordered_map<std::u16string, Value, FoldedHash, FoldedEqual>;
using Section = FoldedMap<std::u16string>;

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');  // an odd trailing byte is dropped
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return text;
}

std::u16string Decode(std::string_view bytes) {
  std::u16string text;
  if (bytes.starts_with("\xFF\xFE")) {
    text = DecodeUtf16(bytes.substr(2), false);
  } else if (bytes.starts_with("\xFE\xFF")) {
    text = DecodeUtf16(bytes.substr(2), true);
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    text = FromUtf8(bytes.substr(3));
  } else {
    text = WidenCodePage(bytes);
  }
  // A NUL would end the value in the platform's buffer; dropping it keeps the rest of the line
  // and even lets an ASCII file saved as UTF-16 without a BOM read correctly.
  std::erase(text, u'\0');
  return text;
}

std::u16string_view Unquote(std::u16string_view value) {
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\'')) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

class ParsedIniFile final : public IniFile {
 public:
  explicit ParsedIniFile(std::u16string_view text) {
    Section* current = nullptr;  // null before the first header and under a repeated one
    while (!text.empty()) {
      const std::size_t end = text.find_first_of(u"\r\n");
      const std::u16string_view line = Trim(text.substr(0, end));
      text.remove_prefix(end == std::u16string_view::npos ? text.size() : end + 1);
      if (line.empty() || line.front() == u';' || line.front() == u'#') continue;
      if (line.front() == u'[') {
        const std::u16string_view name = Trim(line.substr(1, line.find(u']') - 1));
        auto [it, isNew] = sections_.try_emplace(std::u16string(name));
        current = isNew ? &it->second : nullptr;
        continue;
      }
      const std::size_t equals = line.find(u'=');
      if (current == nullptr || equals == std::u16string_view::npos) continue;
      const std::u16string_view key = Trim(line.substr(0, equals));
      if (key.empty()) continue;
      current->try_emplace(std::u16string(key), Unquote(Trim(line.substr(equals + 1))));
    }
  }

  std::u16string GetString(std::u16string_view section, std::u16string_view key, std::u16string_view fallback,
                           std::size_t capacity) const override {
    if (capacity == 0) return {};
    const std::u16string* value = Find(section, key);
    std::u16string_view text = value ? std::u16string_view(*value) : fallback;
    if (text.size() >= capacity) {
      std::size_t length = capacity - 1;
      if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
      text = text.substr(0, length);
    }
    return std::u16string(text);
  }

  int GetInt(std::u16string_view section, std::u16string_view key, int fallback) const override {
    const std::u16string* value = Find(section, key);
    if (value == nullptr || value->empty()) return fallback;
    std::u16string_view text = *value;
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
      negative = text.front() == u'-';
      text.remove_prefix(1);
    }
    // Accumulate the magnitude, stopping just past the int range so that long runs of digits
    // cannot overflow.
    constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    for (char16_t c : text) {
      if (c < u'0' || c > u'9') break;
      magnitude = std::min(kLimit, magnitude * 10 + (c - u'0'));
    }
    return static_cast<int>(negative ? -magnitude : std::min<std::int64_t>(magnitude, INT_MAX));
  }

 private:
  const std::u16string* Find(std::u16string_view section, std::u16string_view key) const {
    const auto s = sections_.find(section);
    if (s == sections_.end()) return nullptr;
    const auto k = s->second.find(key);
    return k == s->second.end() ? nullptr : &k->second;
  }

  FoldedMap<Section> sections_;
};

}  // namespace

std::shared_ptr<const IniFile> IniFile::Parse(std::string_view fileBytes) {
  return std::make_shared<ParsedIniFile>(Decode(fileBytes));
}

std::shared_ptr<const IniFile> IniFile::Load(const std::filesystem::path& path) {
  std::error_code error;
  // Only regular files: a device or pipe could feed bytes forever.
  if (!std::filesystem::is_regular_file(path, error)) return Parse({});
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kMaxFileBytes) return Parse({});
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return Parse(bytes);
}

}  // namespace platform
