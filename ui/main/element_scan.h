#pragma once
// The security elements of a surveyed network, read from the variable information elements of
// its survey entry: the WPA element (vendor specific, id 221, organisation 00-50-F2, type 1) and
// the RSN element (id 48). The bytes come from the air through the driver, so every read stays
// inside its element and the elements inside the span given:
//
//   - the walk ends at an element whose body runs past the end;
//   - a security element is taken only when it holds its pairwise suite count, at least one
//     pairwise suite, the key-management suite count and at least one key-management suite;
//     a shorter or malformed one is skipped as if absent;
//   - other vendor elements (WMM, for instance) are skipped, whatever their size.

#include <cstdint>
#include <span>

namespace ui {

// Type bytes of the suites (the last byte of a suite selector).
namespace key_management_type {
inline constexpr int None = 0, Ieee8021X = 1, PreSharedKey = 2;
}
namespace cipher_type {
inline constexpr int UseGroup = 0, Wep40 = 1, Tkip = 2, Wrap = 3, Ccmp = 4, Wep104 = 5;
}

struct SecurityElements {
  bool wpaFound = false;
  bool rsnFound = false;
  // Of the element taken last: the type of its first key-management and first pairwise suite.
  int keyManagement = key_management_type::None;
  int pairwise = cipher_type::UseGroup;
};

// With `wpa2Mode` a WPA element after an RSN element is not taken: the RSN values stand.
[[nodiscard]] SecurityElements ScanSecurityElements(std::span<const std::uint8_t> elements,
                                                    bool wpa2Mode);

}  // namespace ui
