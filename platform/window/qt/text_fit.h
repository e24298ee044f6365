#pragma once
// Whether a text fits its control, measured with the control's own font and style. Labels wrap
// at word boundaries, so a label needs the height of all its lines and the width of its longest
// word; buttons, check boxes, radio buttons, group box titles and drop-down entries stay on one
// line and need the width of the whole text plus what the style draws around it.

#include <QSize>
#include <QWidget>
#include <string_view>

#include "platform/window/dialog_template.h"

namespace platform::window {

struct TextRoom {
  QSize needed;     // pixels the text needs
  QSize available;  // pixels the control gives it; a height of 0 means any height will do
  bool Fits() const {
    return needed.width() <= available.width() &&
           (available.height() == 0 || needed.height() <= available.height());
  }
};

// The room of `text` in `widget`, the widget the Qt backend built for a control of `kind`.
// Controls that show no text of their own (edit boxes, lists, bars, pictures) have all the room.
TextRoom MeasureText(const QWidget& widget, ControlKind kind, std::u16string_view text);

}  // namespace platform::window
