// The advanced settings dialog: starting values from the driver and the store, both thresholds
// pushed on opening and on every slider move, the power radios and the two switches.
#include "ui/settings/advance_setting_dlg.h"

#include <gmock/gmock.h>

#include "ui/settings/advanced_ids.h"
#include "ui/settings/tests/settings_fixture.h"

namespace ui::settings {
namespace {

using namespace advanced;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AdvancedTest : public testing::SettingsDialogTest {
 protected:
  void Open(const std::function<void(CAdvanceSettingDlg&)>& body) {
    Run<CAdvanceSettingDlg>(kTemplateId, body, dialog_number::MoreSettings);
  }
};

TEST_F(AdvancedTest, OpensWithTheDriverValuesAndPushesBothThresholds) {
  driver.Answer("QueryWL_PSMode", 2);
  driver.Answer("QueryWL_FragmentationThreshold", 1024);
  driver.Answer("QueryWL_RTS_CTS_Threshold", 2347);
  Open([&](CAdvanceSettingDlg& d) {
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::Advanced);
    EXPECT_EQ(d.Caption(), u"Advanced Setting...");
    EXPECT_TRUE(d.GetCheck(id::PowerFastSaving));
    EXPECT_FALSE(d.GetCheck(id::PowerCam));
    EXPECT_EQ(d.TrackPosition(id::FragmentSlider), 1024);
    EXPECT_EQ(d.Control(id::FragmentSlider)->rangeMin, 256);
    EXPECT_EQ(d.Control(id::FragmentSlider)->rangeMax, 2346);
    EXPECT_EQ(d.Control(id::RtsSlider)->tickFrequency, 128);
    EXPECT_EQ(d.GetText(id::FragmentValue), u"< 1024 >");
    EXPECT_EQ(d.GetText(id::RtsValue), u"< 2347 (Disable) >");
    EXPECT_TRUE(d.IsEnabled(id::RtsSlider));
    EXPECT_FALSE(d.IsVisible(id::LanguageBox));
    EXPECT_FALSE(d.IsEnabled(id::RegionBox));
  });
  EXPECT_THAT(driver.Calls("SetWL"),
              ElementsAre("SetWL_FragmentationThreshold(1024)", "SetWL_RTS_CTS_Threshold(2347)"));
  EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::MoreSettings);
}

TEST_F(AdvancedTest, ThresholdsTheDriverDoesNotGiveStartDisabledAtTheirMaximum) {
  const struct {
    int driverValue;
    bool enabled;
    int position;
    std::u16string text;
  } cases[] = {{-1, false, 2346, u"< 2346 (Disable) >"},
               {100, true, 2346, u"< 2346 (Disable) >"},
               {2400, true, 2346, u"< 2346 (Disable) >"},
               {256, true, 256, u"< 256 >"}};
  for (const auto& c : cases) {
    driver.ClearCalls();
    driver.Answer("QueryWL_FragmentationThreshold", c.driverValue);
    Open([&](CAdvanceSettingDlg& d) {
      EXPECT_EQ(d.TrackPosition(id::FragmentSlider), c.position);
      EXPECT_EQ(d.GetText(id::FragmentValue), c.text);
      EXPECT_EQ(d.IsEnabled(id::FragmentSlider), c.enabled);
      EXPECT_EQ(d.IsEnabled(id::FragmentGroup), c.enabled);
      EXPECT_EQ(d.IsEnabled(id::FragmentValue), c.enabled);
    });
    EXPECT_EQ(driver.Calls("SetWL")[0],
              "SetWL_FragmentationThreshold(" + std::to_string(c.position) + ")");
  }
}

TEST_F(AdvancedTest, MovingEitherSliderPushesBoth) {
  driver.Answer("QueryWL_FragmentationThreshold", 1500);
  driver.Answer("QueryWL_RTS_CTS_Threshold", 2000);
  Open([&](CAdvanceSettingDlg& d) {
    driver.ClearCalls();
    d.UserScroll(id::RtsSlider, 500);
    EXPECT_EQ(d.GetText(id::RtsValue), u"< 500 >");
  });
  EXPECT_THAT(driver.Calls("SetWL"),
              ElementsAre("SetWL_FragmentationThreshold(1500)", "SetWL_RTS_CTS_Threshold(500)"));
  EXPECT_EQ(Stored(config::key::RTSThreshold), u"500");
}

TEST_F(AdvancedTest, PowerRadiosPushOnlyAChange) {
  driver.Answer("QueryWL_PSMode", 2);
  Open([&](CAdvanceSettingDlg& d) {
    driver.ClearCalls();
    d.UserClick(id::PowerFastSaving);
    EXPECT_THAT(driver.Calls("SetWL"), IsEmpty());
    d.UserClick(id::PowerCam);
    EXPECT_EQ(d.PowerModeIndex(), 0);
  });
  EXPECT_THAT(driver.Calls("SetWL"), ElementsAre("SetWL_PSMode(0)"));
  EXPECT_EQ(Stored(config::key::PowerSaveMode), u"0");

  // A driver without power saving: the radios cannot be used.
  driver.Answer("QueryWL_PSMode", -1);
  Open([&](CAdvanceSettingDlg& d) {
    EXPECT_FALSE(d.IsEnabled(id::PowerMaximumSaving));
    EXPECT_TRUE(d.GetCheck(id::PowerCam));
  });
}

TEST_F(AdvancedTest, SwitchesToggleFromTheStoredValue) {
  Store({{config::key::WMMQosMode, u"-1"}, {config::key::PSPXLinkMode, u"1"}});
  driver.AnswerDriverInfo({0, 0, 0, 4, {}});
  driver.AnswerNext("SetWL_QVPSPXLinkMode", -1);
  Open([&](CAdvanceSettingDlg& d) {
    EXPECT_FALSE(d.GetCheck(id::WmmCheck));
    EXPECT_TRUE(d.GetCheck(id::PspXLinkCheck));
    d.UserClick(id::WmmCheck);
    EXPECT_FALSE(d.GetCheck(id::WmmCheck));  // -1 is not 0: switched to 0
    d.UserClick(id::WmmCheck);
    EXPECT_TRUE(d.GetCheck(id::WmmCheck));
    d.UserClick(id::PspXLinkCheck);  // refused: the box shows 0, the store keeps 1
    EXPECT_FALSE(d.GetCheck(id::PspXLinkCheck));
    d.UserClick(id::PspXLinkCheck);
    EXPECT_FALSE(d.GetCheck(id::PspXLinkCheck));
  });
  EXPECT_THAT(driver.Calls("SetWL_QV"),
              ElementsAre("SetWL_QVWMMQosMode(0)", "SetWL_QVWMMQosMode(1)",
                          "SetWL_QVPSPXLinkMode(0)", "SetWL_QVPSPXLinkMode(0)"));
  EXPECT_EQ(Stored(config::key::WMMQosMode), u"1");
  EXPECT_EQ(Stored(config::key::PSPXLinkMode), u"0");
}

TEST_F(AdvancedTest, WmmOnlyForChipsThatDoIt) {
  const struct {
    int answer;
    std::uint32_t chipCode;
    bool enabled;
  } cases[] = {{0, 4, true}, {0, 5, true}, {0, 1, false}, {0, 6, false}, {-1, 4, false}};
  for (const auto& c : cases) {
    driver.AnswerDriverInfo({0, 0, 0, c.chipCode, {}});
    driver.Answer("Query_QVDriverInfo", c.answer);
    Open([&](CAdvanceSettingDlg& d) { EXPECT_EQ(d.IsEnabled(id::WmmCheck), c.enabled); });
  }
}

}  // namespace
}  // namespace ui::settings
