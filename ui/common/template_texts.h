#pragma once
// Template rows whose texts come from the language file. A row lists every language text its
// dialog may put into the control (so the text-fit check can measure them all) and starts with
// the built-in text of the first one, as the resource file would show it.

#include <cstdint>
#include <vector>

#include "lang/text_key.h"
#include "platform/window/dialog_template.h"

namespace ui {

// One language text of a control: a catalogue entry (lang/texts.h) or a value list. Implicit,
// so that a row lists catalogue entries as they are.
struct ShownText {
  ShownText(const lang::TextKey& text) : text{text.key, text.fallback} {}
  ShownText(const lang::TextList& list) : text{list.pattern, {}, list.first} {}
  platform::window::LanguageText text;
};

// A control showing `texts`. Labels, buttons, check boxes, radio buttons and group boxes start
// with the first text's built-in text; other kinds start empty.
platform::window::ControlTemplate TextControl(int id, platform::window::ControlKind kind,
                                              platform::window::DialogRect rect,
                                              const std::vector<ShownText>& texts,
                                              std::uint32_t style = 0);

}  // namespace ui
