#include "platform/window/qt/text_fit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyleOption>
#include <limits>

#include "platform/window/qt/qt_text.h"

namespace platform::window {
namespace {

TextRoom Label(const QLabel& label, const QString& text) {
  const QRect area = label.contentsRect();
  // What QLabel lays out when it wraps words; a word longer than the line makes it wider.
  const QRect needed = label.fontMetrics().boundingRect(
      QRect(0, 0, area.width(), std::numeric_limits<int>::max() / 2),
      static_cast<int>(label.alignment()) | Qt::TextWordWrap, text);
  return {needed.size(), area.size()};
}

TextRoom PushButton(const QWidget& button, const QString& text) {
  const QStyle& style = *button.style();
  // The style's own margins around a button's label, without the minimum width some styles
  // give every button: the template sets the width.
  const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
  const int margin = style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
  const QSize textSize = button.fontMetrics().size(Qt::TextShowMnemonic, text);
  return {QSize(textSize.width() + 2 * (frame + margin), textSize.height()),
          QSize(button.width(), 0)};
}

TextRoom CheckOrRadio(const QWidget& button, ControlKind kind, const QString& text) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = text;
  const QSize textSize = button.fontMetrics().size(Qt::TextShowMnemonic, text);
  const QSize needed = button.style()->sizeFromContents(
      kind == ControlKind::CheckBox ? QStyle::CT_CheckBox : QStyle::CT_RadioButton, &option,
      textSize, &button);
  return {needed, QSize(button.width(), 0)};
}

TextRoom GroupTitle(const QWidget& group, const QString& text) {
  // As QGroupBox measures its title for its smallest size.
  const QFontMetrics metrics = group.fontMetrics();
  QStyleOptionGroupBox option;
  option.initFrom(&group);
  option.text = text;
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  const QSize title(metrics.horizontalAdvance(text) + metrics.horizontalAdvance(u' '),
                    metrics.height());
  const QSize needed =
      group.style()->sizeFromContents(QStyle::CT_GroupBox, &option, title, &group);
  return {needed, QSize(group.width(), 0)};
}

TextRoom ComboEntry(const QComboBox& combo, const QString& text) {
  // The closed box draws its entry in the edit field, one pixel in from either side.
  QStyleOptionComboBox option;
  option.initFrom(&combo);
  option.editable = combo.isEditable();
  option.frame = combo.hasFrame();
  option.currentText = text;
  const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, &combo);
  const QSize textSize = combo.fontMetrics().size(Qt::TextSingleLine, text);
  return {textSize, QSize(field.width() - 2, 0)};
}

}  // namespace

TextRoom MeasureText(const QWidget& widget, ControlKind kind, std::u16string_view text) {
  switch (kind) {
    case ControlKind::Label:
      if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return Label(*label, LabelText(text));
      }
      break;
    case ControlKind::Button:
      return PushButton(widget, ToQString(text));
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      return CheckOrRadio(widget, kind, ToQString(text));
    case ControlKind::GroupBox:
      return GroupTitle(widget, ToQString(text));
    case ControlKind::DropDownList:
    case ControlKind::ComboBox:
      if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        return ComboEntry(*combo, ToQString(text));
      }
      break;
    case ControlKind::Edit:
    case ControlKind::ListView:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::Picture:
      break;
  }
  return {QSize(0, 0), QSize(widget.width(), 0)};
}

}  // namespace platform::window
