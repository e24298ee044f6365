// Export of a key subtree as .reg text, in the layout the registry editor writes.

#include <algorithm>

#include "platform/registry/reg_file.h"
#include "platform/registry/reg_names.h"

namespace platform {
namespace {

constexpr std::u16string_view kNewline = u"\r\n";
// The editor wraps hex data so that no line grows past this width.
constexpr std::size_t kLineWidth = 79;

void AppendQuoted(std::u16string& out, std::u16string_view text) {
  out.push_back(u'"');
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  out.push_back(u'"');
}

void AppendHexDigits(std::u16string& out, std::uint32_t number, int digits) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kDigits[(number >> shift) & 0xF]);
}

// `prefix` is e.g. hex: or hex(1): ; `line_start` is where the current line begins in `out`.
void AppendHexBytes(std::u16string& out, std::size_t line_start, std::u16string_view prefix,
                    const std::vector<std::uint8_t>& bytes) {
  out += prefix;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out.push_back(u',');
      // Room for the next byte, its comma and the continuation backslash.
      if (out.size() - line_start + 4 > kLineWidth) {
        out += u"\\";
        out += kNewline;
        line_start = out.size();
        out += u"  ";
      }
    }
    AppendHexDigits(out, bytes[i], 2);
  }
}

// A text that would break the line structure is written as typed hex data, with the
// terminator the editor adds.
bool NeedsHexForm(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\0'; });
}

void AppendValue(std::u16string& out, const NamedValue& named) {
  const std::size_t line_start = out.size();
  if (named.name.empty()) {
    out.push_back(u'@');
  } else {
    AppendQuoted(out, named.name);
  }
  out.push_back(u'=');
  switch (named.value.type()) {
    case RegType::String: {
      const auto& text = std::get<std::u16string>(named.value.data);
      if (!NeedsHexForm(text)) {
        AppendQuoted(out, text);
        break;
      }
      std::vector<std::uint8_t> bytes;
      for (char16_t c : text) {
        bytes.push_back(c & 0xFF);
        bytes.push_back(c >> 8);
      }
      bytes.insert(bytes.end(), {0, 0});
      AppendHexBytes(out, line_start, u"hex(1):", bytes);
      break;
    }
    case RegType::Dword:
      out += u"dword:";
      AppendHexDigits(out, std::get<std::uint32_t>(named.value.data), 8);
      break;
    case RegType::Binary:
      AppendHexBytes(out, line_start, u"hex:", std::get<std::vector<std::uint8_t>>(named.value.data));
      break;
    case RegType::Typed: {
      const TypedData& typed = std::get<TypedData>(named.value.data);
      std::u16string prefix = u"hex(";
      // The editor writes the type number in lower-case hexadecimal without leading zeros.
      bool digits = false;
      for (int shift = 28; shift >= 0; shift -= 4) {
        const std::uint32_t digit = (typed.type >> shift) & 0xF;
        if (digit != 0 || digits || shift == 0) {
          prefix.push_back(u"0123456789abcdef"[digit]);
          digits = true;
        }
      }
      prefix += u"):";
      AppendHexBytes(out, line_start, prefix, typed.bytes);
      break;
    }
  }
  out += kNewline;
}

RegStatus AppendKey(Registry& registry, RegRoot root, const std::u16string& path,
                    std::u16string& out) {
  out += kNewline;
  out += u"[";
  out += RootName(root);
  if (!path.empty()) out += u"\\" + path;
  out += u"]";
  out += kNewline;
  std::vector<NamedValue> values;
  std::vector<std::u16string> subkeys;
  if (RegStatus s = registry.EnumValues(root, path, values); s != RegStatus::Ok) return s;
  if (RegStatus s = registry.EnumSubkeys(root, path, subkeys); s != RegStatus::Ok) return s;
  for (const NamedValue& named : values) AppendValue(out, named);
  for (const std::u16string& subkey : subkeys) {
    const std::u16string child = path.empty() ? subkey : path + u"\\" + subkey;
    if (RegStatus s = AppendKey(registry, root, child, out); s != RegStatus::Ok) return s;
  }
  return RegStatus::Ok;
}

}  // namespace

std::u16string RootName(RegRoot root) {
  switch (root) {
    case RegRoot::CurrentUser:
      return u"HKEY_CURRENT_USER";
    case RegRoot::LocalMachine:
      return u"HKEY_LOCAL_MACHINE";
  }
  return {};
}

RegStatus ExportRegText(Registry& registry, RegRoot root, std::u16string_view path,
                        std::u16string& out) {
  // One transaction, so the export is a consistent picture even while another process writes.
  return registry.Batch([&](Registry& batch) {
    // The path as stored: each component in the spelling of its creation.
    std::u16string stored;
    for (std::u16string_view part : regnames::SplitKeyPath(path)) {
      std::vector<std::u16string> subkeys;
      if (RegStatus s = batch.EnumSubkeys(root, stored, subkeys); s != RegStatus::Ok) return s;
      auto it = std::find_if(subkeys.begin(), subkeys.end(), [&](const std::u16string& name) {
        return regnames::EqualsFolded(name, part);
      });
      if (it == subkeys.end()) return RegStatus::NotFound;
      stored += (stored.empty() ? u"" : u"\\") + *it;
    }
    out = u"Windows Registry Editor Version 5.00";
    out += kNewline;
    if (RegStatus s = AppendKey(batch, root, stored, out); s != RegStatus::Ok) return s;
    out += kNewline;
    return RegStatus::Ok;
  });
}

std::vector<std::uint8_t> EncodeRegFile(std::u16string_view text) {
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  bytes.reserve(2 + text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(c & 0xFF);
    bytes.push_back(c >> 8);
  }
  return bytes;
}

}  // namespace platform
