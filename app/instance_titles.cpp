#include "app/instance_titles.h"

#include "lang/texts.h"
#include "platform/text/text.h"

namespace app {

std::u16string WindowTitle(const lang::CMultiLanguage& language, std::u16string_view chipMode) {
  const std::u16string title = language.LoadLangString(lang::texts::MP_Dialog_Title);
  if (chipMode == kGeneralChipMode) return title;
  return platform::Format(u"%s   %s", title, chipMode);
}

std::u16string OlderTitle(std::u16string_view chipMode) {
  struct Older {
    std::u16string_view chipMode;
    std::u16string_view title;
  };
  static constexpr Older kOlder[] = {
      {u"802.11b/g", u"Ventrel Plus   QV7100B"},
      {u"QV7100DualBand", u"Ventrel Plus   QV7100BDualBand"},
      {u"QV7200", u"Ventrel Plus   QV7200B"},
  };
  for (const Older& older : kOlder) {
    if (older.chipMode == chipMode) return std::u16string(older.title);
  }
  return {};
}

}  // namespace app
