// Connecting to a listed network from the main window: what happens around the join (the
// supplicant stopped first, no polling while prompts and dialogs are up, the panel and link
// refreshed after), and the security dialogs it opens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "adapter/testing/survey_builder.h"
#include "config/setting_keys.h"
#include "ui/main/tests/main_page_fixture.h"
#include "ui/main/tests/security_elements.h"
#include "ui/security/security_dialog_ids.h"

namespace ui {
namespace {

using namespace main_page;
using adapter::testing::SurveyBufferBytes;
using adapter::testing::SurveyEntryFields;
using platform::window::ListEvent;
using ::testing::IsEmpty;
using testing::MainPageFixture;
using testing::ObservedMainPage;
namespace key = config::key;

SurveyEntryFields Network(std::string ssid, std::uint32_t privacy, testing::Bytes elements = {}) {
  SurveyEntryFields fields;
  fields.ssid = std::move(ssid);
  fields.privacy = privacy;
  fields.elements = std::move(elements);
  return fields;
}

class ConnectToNetworkTest : public ::testing::Test, protected MainPageFixture {
 protected:
  ConnectToNetworkTest() {
    PlugAdapter();
    product.wpaMode = product.wpa2Mode = 1;
    driver.Answer("QueryWL_CheckWZCStatus", 0);
    driver.Answer("WL_RetrieveSiteSurveyData", 0);
    driver.AnswerBytes(
        "WL_RetrieveSiteSurveyData",
        SurveyBufferBytes({Network("Open", 0), Network("Wep", 1),
                           Network("Wpa2", 1, testing::Rsn({testing::kCcmp}, {testing::kPsk}))}));
  }
  // Runs the window until the first survey is listed, then `body`.
  void RunListed(const std::function<void(ObservedMainPage&)>& body) {
    MainPageFixture::Run([&](ObservedMainPage& p) {
      while (p.ScanPending()) Tick();
      ASSERT_EQ(p.ListItemCount(id::List), 3);
      body(p);
    });
  }
  static void DoubleClick(ObservedMainPage& p, int row) {
    p.ListSetSelectionMark(id::List, row);
    (void)p.OnNotify(id::List, ListEvent::DoubleClick, row);
  }
};

TEST_F(ConnectToNetworkTest, NoPollingWhileTheWepDialogIsUpAndTheCurrentNetworkAfter) {
  session.backend.QueueAnswer(platform::window::MessageResult::No);
  bool dialogRan = false;
  session.driver.OnOpen(security_dialogs::wep_template::Id, [&](platform::window::Dialog& wep) {
    dialogRan = true;
    const platform::window::Dialog* main = chain.Registered(dialog_number::Main);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->Timers().empty());
    EXPECT_EQ(main->GetText(id::LinkStatusText), u"Disconnecting...");
    EXPECT_EQ(supplicant.StopRequests(), 1);
    EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeys);
    wep.UserClick(security_dialogs::wep_id::ChangeApply);
    wep.UserType(security_dialogs::wep_id::Keys[0], u"1A2B3C4D5E");
    wep.UserClick(security_dialogs::wep_id::ChangeApply);
  });
  RunListed([&](ObservedMainPage& p) {
    (void)p.OnNotify(id::List, ListEvent::Click, 1);
    EXPECT_TRUE(p.SelectedView());
    DoubleClick(p, 1);
    EXPECT_TRUE(dialogRan);
    EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::Main);
    EXPECT_EQ(p.Timers().count(kRefreshTimer), 1u);
    EXPECT_FALSE(p.SelectedView());
    EXPECT_EQ(p.GetText(id::PanelGroup), u"Current Network Information");
  });
  EXPECT_EQ(store.ReadSettingString(config::WepKeyName(64, 0)), u"1A 2B 3C 4D 5E");
  EXPECT_EQ(store.ReadSettingString(key::WEPStatus), u"0");
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"Wep");
}

TEST_F(ConnectToNetworkTest, TheWpaDialogOpensForThePassPhraseBeforeTheSupplicantStarts) {
  session.backend.QueueAnswer(platform::window::MessageResult::No);
  session.driver.OnOpen(security_dialogs::dot1x_template::Id, [&](platform::window::Dialog& wpa) {
    namespace wpa_id = security_dialogs::dot1x_id;
    EXPECT_EQ(store.ReadSettingString(key::AuthenticationMode), u"7");
    EXPECT_EQ(supplicant.StartRequests(), 0);
    wpa.UserClick(wpa_id::ChangeApply);
    EXPECT_TRUE(wpa.IsEnabled(wpa_id::Passphrase));
    EXPECT_FALSE(wpa.IsEnabled(wpa_id::Protocol));
    wpa.UserType(wpa_id::Passphrase, u"wpa2 pass phrase");
    wpa.UserClick(wpa_id::ChangeApply);
  });
  RunListed([&](ObservedMainPage& p) { DoubleClick(p, 2); });
  EXPECT_EQ(session.backend.MessageBoxes().back().caption, u"Use Previous WPA2 Setting");
  EXPECT_EQ(store.ReadSettingString(key::Dot1xPassphrase), u"wpa2 pass phrase");
  EXPECT_EQ(store.ReadSettingString(key::WEPStatus), u"6");
  EXPECT_EQ(supplicant.StartRequests(), 1);
}

TEST_F(ConnectToNetworkTest, NothingHappensWhileTheSystemsServiceHasTheAdapter) {
  RunListed([&](ObservedMainPage& p) {
    driver.Answer("QueryWL_CheckWZCStatus", 1);
    Tick();
    ASSERT_EQ(p.WzcState(), 1);
    driver.ClearCalls();
    const int stops = supplicant.StopRequests();
    DoubleClick(p, 0);
    EXPECT_EQ(supplicant.StopRequests(), stops);
    EXPECT_THAT(driver.Calls("SetWL"), IsEmpty());
  });
}

TEST_F(ConnectToNetworkTest, WithoutASelectionOnlyTheSupplicantStops) {
  RunListed([&](ObservedMainPage& p) {
    driver.ClearCalls();
    (void)p.OnNotify(id::List, ListEvent::DoubleClick, 0);  // the mark is gone
    EXPECT_EQ(supplicant.StopRequests(), 1);
    EXPECT_EQ(p.GetText(id::LinkStatusText), u"Disconnecting...");
    EXPECT_EQ(p.Timers().count(kRefreshTimer), 1u);
    EXPECT_THAT(driver.Calls("SetWL"), IsEmpty());
  });
}

}  // namespace
}  // namespace ui
