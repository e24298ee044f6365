#include "ui/common/template_texts.h"

namespace ui {

platform::window::ControlTemplate TextControl(int id, platform::window::ControlKind kind,
                                              platform::window::DialogRect rect,
                                              const std::vector<ShownText>& texts,
                                              std::uint32_t style) {
  using platform::window::ControlKind;
  platform::window::ControlTemplate row;
  row.id = id;
  row.kind = kind;
  row.rect = rect;
  row.style = style;
  for (const ShownText& shown : texts) row.languageTexts.push_back(shown.text);
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
      if (!row.languageTexts.empty()) row.text = row.languageTexts.front().fallback;
      break;
    case ControlKind::Edit:
    case ControlKind::DropDownList:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
    case ControlKind::Picture:
      break;
  }
  return row;
}

}  // namespace ui
