#pragma once
// The titles by which instances of the program find each other: the main window's caption
// carries the window title, and the title of the instance that ran last is stored. Chip modes
// compare exactly, with letter case.

#include <string>
#include <string_view>

#include "lang/multi_language.h"

namespace app {

inline constexpr std::u16string_view kGeneralChipMode = u"GENERAL";

// The "MP_Dialog_Title" text in the current language; for a chip mode other than "GENERAL"
// followed by three blanks and the chip mode.
std::u16string WindowTitle(const lang::CMultiLanguage& language, std::u16string_view chipMode);

// The caption older releases of a chip mode's utility used, so that one of them still running
// is found too; empty for chip modes that had none.
std::u16string OlderTitle(std::u16string_view chipMode);

}  // namespace app
