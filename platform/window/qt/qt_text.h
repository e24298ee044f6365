#pragma once
// Our texts are UTF-16 like QString's, so conversions copy code units unchanged.

#include <QString>
#include <string>
#include <string_view>

namespace platform::window {

inline QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) { return text.toStdU16String(); }

}  // namespace platform::window
