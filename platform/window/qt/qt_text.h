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

// Static texts mark a mnemonic with '&' and write a literal one as "&&", like the buttons;
// a label has no use for the mnemonic, so only the literal ampersands stay.
inline QString LabelText(std::u16string_view text) {
  QString shown;
  shown.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      shown.append(QChar(text[i]));
    } else if (i + 1 < text.size() && text[i + 1] == u'&') {
      shown.append(QLatin1Char('&'));
      ++i;
    }
  }
  return shown;
}

}  // namespace platform::window
