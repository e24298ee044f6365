#pragma once
// Dialog templates as data, like a resource file: one template per dialog, one row per control.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::window {

enum class ControlKind {
  Label,         // static text
  Edit,          // single-line edit box
  Button,        // push button
  CheckBox,
  RadioButton,   // consecutive radio buttons form a group; Style::GroupStart starts a new one
  DropDownList,  // combo box without edit field
  ComboBox,      // combo box with edit field
  ListView,      // report-style list view: columns, rows, one selection mark
  TrackBar,      // horizontal slider
  ProgressBar,
  GroupBox,
  Picture,       // icon
};

namespace style {
inline constexpr std::uint32_t Hidden = 1u << 0;
inline constexpr std::uint32_t Disabled = 1u << 1;
inline constexpr std::uint32_t Password = 1u << 2;    // edit: shows bullets
inline constexpr std::uint32_t Centered = 1u << 3;    // label: centred text
inline constexpr std::uint32_t GroupStart = 1u << 4;  // radio: first of a group
inline constexpr std::uint32_t Default = 1u << 5;     // button: default push button
inline constexpr std::uint32_t SingleSelection = 1u << 6;  // list view
}  // namespace style

// A rectangle in dialog units. A height of 0 lets the backend choose the control's natural
// height (drop-down lists, for instance, are given a height only for their open list).
struct DialogRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// A text from the language file that a control shows: its key and built-in English text, or,
// with `listFirst` 0 or more, a value list whose entries are `key` with %d = listFirst,
// listFirst + 1, ... up to the first empty one (entries of a drop-down list, for instance).
struct LanguageText {
  std::u16string_view key;
  std::u16string_view fallback;
  int listFirst = -1;
};

struct ControlTemplate {
  int id = 0;  // 0 or negative: a static control nobody addresses
  ControlKind kind = ControlKind::Label;
  DialogRect rect;
  std::u16string text;
  std::uint32_t style = 0;
  int limit = 0;  // edit: most characters the user can type, 0 for the platform's default
  int icon = 0;   // picture: icon resource number
  // Every language text the dialog may put into this control. The dialog sets its texts itself;
  // this list tells the text-fit check what to measure, in every shipped language.
  std::vector<LanguageText> languageTexts = {};
};

struct DialogTemplate {
  int id = 0;
  int width = 0, height = 0;  // dialog units
  std::u16string caption;
  std::u16string fontName = u"Verdana";
  int fontPoints = 8;
  std::vector<ControlTemplate> controls;
};

// The templates dialogs are created from, by number; a dialog's code adds its template before
// the dialog opens. The screenshot test walks it.
class TemplateRegistry {
 public:
  static TemplateRegistry& Instance();
  void Add(DialogTemplate tmpl);  // replaces a template of the same id
  const DialogTemplate* Find(int id) const;
  std::vector<int> Ids() const;

 private:
  std::vector<DialogTemplate> templates_;
};

// Every dialog template of the program, for checks that walk them all (the text-fit check). A
// template's source file lists its template once, at namespace scope:
//   VZ_PROGRAM_TEMPLATE(MoreSettingsTemplate);   // a function returning the DialogTemplate
// The listing runs when the file is linked; the text-fit check links every object of the
// libraries below ui/ and security/, so a template listed there is checked without further ado.
using TemplateFactory = DialogTemplate (*)();
const std::vector<TemplateFactory>& ProgramTemplates();

struct ProgramTemplateListing {
  explicit ProgramTemplateListing(TemplateFactory factory);
};

#define VZ_PROGRAM_TEMPLATE(factory) \
  [[maybe_unused]] static const ::platform::window::ProgramTemplateListing vzProgramTemplate_##factory{&factory}

}  // namespace platform::window
