#include "platform/window/dump.h"

#include "platform/text/text.h"

namespace platform::window {


const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return "label";
    case ControlKind::Edit: return "edit";
    case ControlKind::Button: return "button";
    case ControlKind::CheckBox: return "checkbox";
    case ControlKind::RadioButton: return "radiobutton";
    case ControlKind::DropDownList: return "dropdownlist";
    case ControlKind::ComboBox: return "combobox";
    case ControlKind::ListView: return "listview";
    case ControlKind::TrackBar: return "trackbar";
    case ControlKind::ProgressBar: return "progressbar";
    case ControlKind::GroupBox: return "groupbox";
    case ControlKind::Picture: return "picture";
  }
  return "unknown";
}

nlohmann::json DumpControl(const ControlState& c) {
  nlohmann::json j;
  j["id"] = c.id;
  j["kind"] = KindName(c.kind);
  j["text"] = c.password ? std::string(c.text.size(), '*') : platform::ToUtf8(c.text);
  j["enabled"] = c.enabled;
  j["visible"] = c.visible;
  switch (c.kind) {
    case ControlKind::Edit:
      if (c.password) j["password"] = true;
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      j["checked"] = c.checked;
      break;
    case ControlKind::DropDownList:
    case ControlKind::ComboBox: {
      nlohmann::json items = nlohmann::json::array();
      for (const auto& item : c.items) items.push_back(platform::ToUtf8(item));
      j["items"] = std::move(items);
      j["selection"] = c.selection;
      break;
    }
    case ControlKind::ListView: {
      nlohmann::json columns = nlohmann::json::array();
      for (const auto& column : c.columns) columns.push_back(platform::ToUtf8(column.title));
      nlohmann::json rows = nlohmann::json::array();
      for (const auto& row : c.rows) {
        nlohmann::json cells = nlohmann::json::array();
        for (const auto& cell : row) cells.push_back(platform::ToUtf8(cell));
        rows.push_back(std::move(cells));
      }
      j["columns"] = std::move(columns);
      j["rows"] = std::move(rows);
      j["selection"] = c.selection;
      break;
    }
    case ControlKind::TrackBar:
    case ControlKind::ProgressBar:
      j["position"] = c.position;
      j["min"] = c.rangeMin;
      j["max"] = c.rangeMax;
      break;
    case ControlKind::Picture:
      j["icon"] = c.icon;
      break;
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::GroupBox:
      break;
  }
  return j;
}

nlohmann::json DumpDialog(const Dialog& dialog) {
  nlohmann::json controls = nlohmann::json::array();
  for (const ControlState& c : dialog.Controls()) controls.push_back(DumpControl(c));
  return {{"template", dialog.TemplateId()},
          {"caption", platform::ToUtf8(dialog.Caption())},
          {"visible", dialog.IsWindowVisible()},
          {"controls", std::move(controls)}};
}

nlohmann::json DumpDialogs(const Backend& backend) {
  nlohmann::json dialogs = nlohmann::json::array();
  for (const Dialog* d : backend.OpenDialogs()) dialogs.push_back(DumpDialog(*d));
  return dialogs;
}

}  // namespace platform::window
