#include "platform/window/qt/dialog_units.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

#include "platform/window/qt/qt_text.h"

namespace platform::window {
namespace {

// Multiplies and divides with rounding to nearest, halves away from zero.
int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

}  // namespace

QFont DialogFont(const DialogTemplate& tmpl) {
  QFont font(ToQString(tmpl.fontName));
  font.setPointSize(tmpl.fontPoints > 0 ? tmpl.fontPoints : 8);
  font.setStyleHint(QFont::SansSerif);
  if (!QFontInfo(font).exactMatch()) {
    // Without the named family the font matcher could pick anything; DejaVu Sans has metrics
    // close to the usual dialog font, and the style hint covers systems without it.
    const QStringList fallback = {QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
    font.setFamilies(fallback);
  }
  return font;
}

DialogUnits::DialogUnits(int averageCharWidth, int charHeight)
    : baseX_(averageCharWidth > 0 ? averageCharWidth : 1), baseY_(charHeight > 0 ? charHeight : 1) {}

DialogUnits DialogUnits::ForFont(const QFont& font) {
  // The dialog manager's average width: the alphabet in both cases over 52, rounded.
  static const QString alphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(alphabet);
  return DialogUnits((width + 26) / 52, metrics.height());
}

int DialogUnits::X(int dialogUnits) const { return MulDiv(dialogUnits, baseX_, 4); }
int DialogUnits::Y(int dialogUnits) const { return MulDiv(dialogUnits, baseY_, 8); }

QRect DialogUnits::Rect(const DialogRect& rect) const {
  return QRect(X(rect.x), Y(rect.y), X(rect.width), Y(rect.height));
}

}  // namespace platform::window
