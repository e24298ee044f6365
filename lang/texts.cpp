#include "lang/texts.h"

namespace lang {
namespace {

#define VZ_TEXT(name, fallback) texts::name,
#define VZ_TEXT_ALT(name, key, fallback) texts::name,
#define VZ_TEXT_LIST(name, pattern, first)
constexpr TextKey kAllTexts[] = {
#include "lang/texts/main_page.def"
#include "lang/texts/more_settings.def"
#include "lang/texts/advanced.def"
#include "lang/texts/wep.def"
#include "lang/texts/dot1x.def"
#include "lang/texts/info.def"
#include "lang/texts/ap_settings.def"
#include "lang/texts/mac_filter.def"
};
#undef VZ_TEXT
#undef VZ_TEXT_ALT
#undef VZ_TEXT_LIST

#define VZ_TEXT(name, fallback)
#define VZ_TEXT_ALT(name, key, fallback)
#define VZ_TEXT_LIST(name, pattern, first) texts::name,
constexpr TextList kAllTextLists[] = {
#include "lang/texts/main_page.def"
#include "lang/texts/more_settings.def"
#include "lang/texts/advanced.def"
#include "lang/texts/wep.def"
#include "lang/texts/dot1x.def"
#include "lang/texts/info.def"
#include "lang/texts/ap_settings.def"
#include "lang/texts/mac_filter.def"
};
#undef VZ_TEXT
#undef VZ_TEXT_ALT
#undef VZ_TEXT_LIST

}  // namespace

std::span<const TextKey> AllTexts() { return kAllTexts; }
std::span<const TextList> AllTextLists() { return kAllTextLists; }

}  // namespace lang
