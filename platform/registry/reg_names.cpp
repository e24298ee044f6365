#include "platform/registry/reg_names.h"

#include <cstdint>

namespace platform::regnames {

char16_t FoldChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 0x20;
  if (c < 0xE0) return c;
  // Latin-1: à..þ except ÷; ÿ pairs with Ÿ in Latin Extended-A.
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs upper/lower at even/odd codes, except where the pairing shifts. The
  // dotted and dotless i are not a pair and stay apart.
  if (c == 0x130 || c == 0x131) return c;
  if (c >= 0x100 && c <= 0x137) return c & ~char16_t{1};
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
  if (c >= 0x14A && c <= 0x177) return c & ~char16_t{1};
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c : c - 1;
  // Greek: α..ω except final sigma, which folds like σ.
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
  // Cyrillic: а..я and ѐ..џ.
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

std::u16string Fold(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) c = FoldChar(c);
  return out;
}

bool EqualsFolded(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldChar(a[i]) != FoldChar(b[i])) return false;
  }
  return true;
}

std::vector<std::u16string_view> SplitKeyPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string KeyPathProblem(std::u16string_view path) {
  std::size_t depth = 0;
  for (std::u16string_view part : SplitKeyPath(path)) {
    if (part.size() > kMaxKeyNameLength) {
      return "key name longer than " + std::to_string(kMaxKeyNameLength) + " characters";
    }
    if (++depth > kMaxKeyDepth) return "key path deeper than " + std::to_string(kMaxKeyDepth) + " levels";
  }
  return {};
}

}  // namespace platform::regnames
