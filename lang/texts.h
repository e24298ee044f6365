#pragma once
// The text catalogue: every key the program looks up in the language file, with its built-in
// English text. The entries live in lang/texts/*.def, one file per window:
//
//   VZ_TEXT(KEY, u"text")              texts::KEY, a TextKey for "KEY"
//   VZ_TEXT_ALT(NAME, KEY, u"text")    texts::NAME, the same key "KEY" shown at another place
//                                      with another built-in text
//   VZ_TEXT_LIST(NAME, u"KEY_%d", n)   texts::NAME, a TextList read from number n upward
//
// Look a text up with LoadLangString(texts::KEY) and a list with LoadLangList(texts::NAME)
// (lang/multi_language.h).
//
// Adding a text: add its line, with the built-in text exactly as the window shows it without a
// language file, to the .def file of its window; add the key with its translation to every file
// in lang/files/ (the build refuses a key that one language lacks, and the tests refuse a
// catalogue key missing from the shipped files). A value list also needs a case in
// lang/tests/shipped_language_files_test.cpp stating how many entries its dialog maps.

#include <span>

#include "lang/text_key.h"

namespace lang::texts {

#define VZ_TEXT(name, fallback) inline constexpr TextKey name{u"" #name, fallback};
#define VZ_TEXT_ALT(name, sameKeyAs, fallback) inline constexpr TextKey name{sameKeyAs.key, fallback};
#define VZ_TEXT_LIST(name, pattern, first) inline constexpr TextList name{pattern, first};
#include "lang/texts/main_page.def"
#include "lang/texts/more_settings.def"
#include "lang/texts/advanced.def"
#include "lang/texts/wep.def"
#include "lang/texts/dot1x.def"
#include "lang/texts/info.def"
#include "lang/texts/ap_settings.def"
#include "lang/texts/mac_filter.def"
#undef VZ_TEXT
#undef VZ_TEXT_ALT
#undef VZ_TEXT_LIST

}  // namespace lang::texts

namespace lang {

// Every TextKey of the catalogue in file order, VZ_TEXT_ALT entries included.
std::span<const TextKey> AllTexts();
// Every TextList of the catalogue in file order.
std::span<const TextList> AllTextLists();

}  // namespace lang
