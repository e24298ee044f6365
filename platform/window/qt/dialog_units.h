#pragma once
// Dialog units to pixels, the way the desktop's dialog manager converts them: one horizontal
// unit is a quarter of the dialog font's average character width, one vertical unit an eighth
// of its character height.

#include <QFont>
#include <QRect>

#include "platform/window/dialog_template.h"

namespace platform::window {

// The dialog font by template name and size; a sans font stands in when the family is missing.
QFont DialogFont(const DialogTemplate& tmpl);

class DialogUnits {
 public:
  DialogUnits(int averageCharWidth, int charHeight);
  static DialogUnits ForFont(const QFont& font);

  int X(int dialogUnits) const;
  int Y(int dialogUnits) const;
  QRect Rect(const DialogRect& rect) const;
  int AverageCharWidth() const { return baseX_; }
  int CharHeight() const { return baseY_; }

 private:
  int baseX_;
  int baseY_;
};

}  // namespace platform::window
