// The information dialog: driver version in both formats, this utility's version and build
// stamp, and the MAC address.
#include "ui/settings/info_dlg.h"

#include <gmock/gmock.h>

#include "lang/texts.h"
#include "ui/settings/build_stamp.h"
#include "ui/settings/info_ids.h"
#include "ui/settings/tests/settings_fixture.h"

namespace ui::settings {
namespace {

using namespace information;

TEST(DriverVersionText, ChipOnePacksYearAndBuildIntoTheWord) {
  const struct {
    std::int32_t word;
    int chipType;
    std::u16string text;
  } cases[] = {
      {0x0203A51B, 1, u"2.3.051B.2010"},
      {0x0203A51B, 2, u"2.3.165.27"},
      {0x0203A51B, 5, u"2.3.165.27"},
      {static_cast<std::int32_t>(0xFF0F0F0Au), 1, u"255.15.150A.2000"},
      {-1, 1, u""},
  };
  for (const auto& c : cases) EXPECT_EQ(DriverVersionText(c.word, c.chipType), c.text);
}

class InfoTest : public testing::SettingsDialogTest {
 protected:
  void Open(const std::function<void(CInfoDlg&)>& body) {
    Run<CInfoDlg>(kTemplateId, body, dialog_number::MoreSettings);
  }
};

TEST_F(InfoTest, ShowsVersionsAndAddress) {
  driver.Answer("QueryWL_DriverVersion", 0x0203A51B);
  driver.Answer("GetNICAdapterMAC", 0);
  driver.AnswerBytes("GetNICAdapterMAC", {0x02, 0x5A, 0x71, 0x00, 0x0A, 0xFF});
  Open([&](CInfoDlg& d) {
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::Information);
    EXPECT_EQ(d.Caption(), u"Information...  ");
    EXPECT_EQ(d.GetText(id::Heading), u"S Y S T E M   I N F O R M A T I O N");
    EXPECT_EQ(d.GetText(id::DriverVersion), u"2.3.051B.2010");
    EXPECT_EQ(d.GetText(id::MacAddress), u"02 5A 71 00 0A FF");
    EXPECT_EQ(d.GetText(id::UtilityVersion), u"2.26.3.0 - " + DateText(BuildEpoch()) + u" " +
                                                  TimeText(BuildEpoch()));
  });
}

TEST(BuildStamp, DateAndTimeInTheirShortForms) {
  const struct {
    std::int64_t epoch;
    std::u16string date, time;
  } cases[] = {
      {0, u"Jan 1 1970", u"00:00:00"},
      {1700000000, u"Nov 14 2023", u"22:13:20"},
      {951782400 + 86399, u"Feb 29 2000", u"23:59:59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateText(c.epoch), c.date);
    EXPECT_EQ(TimeText(c.epoch), c.time);
  }
}

TEST_F(InfoTest, AnAdapterThatCannotTellShowsNotAvailable) {
  ASSERT_EQ(language.SelectLanguage(2), 1);
  Open([&](CInfoDlg& d) {
    EXPECT_EQ(d.GetText(id::DriverVersion), u"k. A.");
    EXPECT_EQ(d.GetText(id::MacAddress), u"k. A.");
  });
  lang::CMultiLanguage builtIn;
  EXPECT_EQ(builtIn.LoadLangString(lang::texts::IS_Item_Version_Unknown), u"N/A");
}

}  // namespace
}  // namespace ui::settings
