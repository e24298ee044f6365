// The More Settings dialog: what it shows of the stored configuration, the enable rules, the
// Apply sequence, the profile buttons and the dialogs it opens.
#include "ui/settings/basic_setting_dlg.h"

#include <gmock/gmock.h>

#include "config/profile_store.h"
#include "config/ssid_push.h"
#include "ui/settings/more_settings_ids.h"
#include "ui/settings/tests/settings_fixture.h"

namespace ui::settings {
namespace {

using namespace more_settings;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Texts = std::vector<std::u16string>;

class MoreSettingsTest : public testing::SettingsDialogTest {
 protected:
  void Open(const std::function<void(CBasicSettingDlg&)>& body) {
    Run<CBasicSettingDlg>(kTemplateId, body);
  }
  static Texts Items(const platform::window::Dialog& d, int box) { return d.Control(box)->items; }
  std::string RandomSsidCall() const {
    const auto noise = config::RandomSsid(clock);
    return "SetWL_SSID(" +
           adapter::testing::HexText(std::vector<std::uint8_t>(noise.begin(), noise.end())) +
           ", 32)";
  }
  // A dual-band adapter with channels on both bands and six rates.
  void DualBandAdapter() {
    radio.bandCapability.store(config::band_capability::Both);
    driver.Answer("QueryWL_SupportChannel", 0);
    driver.AnswerBytes("QueryWL_SupportChannel", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xFF, 36, 40});
    driver.Answer("QueryWL_UISupportTxRate", 0);
    driver.AnswerBytes("QueryWL_UISupportTxRate", {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12});
  }
};

TEST_F(MoreSettingsTest, OpensReadOnlyShowingTheStoredConfiguration) {
  const std::u16string longSsid = u"abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  Store({{config::key::NetworkType, u"1"}, {config::key::SSID, longSsid},
         {config::key::AuthenticationMode, u"7"}, {config::key::WEPStatus, u"6"}});
  dialogs.SetActiveDialogNumber(dialog_number::Main);
  Open([&](CBasicSettingDlg& d) {
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::MoreSettings);
    EXPECT_EQ(dialogs.Registered(dialog_number::MoreSettings), &d);
    EXPECT_EQ(d.Caption(), u"More Settings...  ");
    EXPECT_EQ(Items(d, id::NetworkTypeBox), (Texts{u"Ad-Hoc", u"Infrastructure", u"Pseudo IBSS"}));
    EXPECT_EQ(d.ComboSelection(id::NetworkTypeBox), 1);
    EXPECT_EQ(Items(d, id::WirelessModeBox), (Texts{u"2.4 GHz (802.11b/g)"}));
    EXPECT_EQ(d.ComboCount(id::ChannelBox), 14);  // the driver gave no list
    EXPECT_EQ(d.ComboSelection(id::ChannelBox), -1);  // infrastructure: the driver's channel
    EXPECT_EQ(d.GetText(id::SsidEdit), longSsid.substr(0, 32));
    EXPECT_FALSE(d.GetCheck(id::AnyCheck));
    EXPECT_EQ(d.Control(id::SsidEdit)->limit, 32);
    EXPECT_EQ(d.ComboCount(id::AuthenticationBox), 7);
    EXPECT_EQ(d.ComboSelection(id::AuthenticationBox), 6);
    EXPECT_EQ(Items(d, id::EncryptionBox), (Texts{u"Disabled", u"WEP", u"TKIP", u"AES"}));
    EXPECT_EQ(d.ComboSelection(id::EncryptionBox), 3);
    EXPECT_EQ(Items(d, id::TxRateBox), (Texts{u"Auto"}));
    EXPECT_FALSE(d.IsVisible(id::TxRateBox));
    for (int box : {id::NetworkTypeBox, id::WirelessModeBox, id::ChannelBox, id::SsidEdit,
                    id::AnyCheck, id::AuthenticationBox, id::EncryptionBox}) {
      EXPECT_FALSE(d.IsEnabled(box)) << box;
    }
    EXPECT_EQ(d.GetText(id::ChangeApplyButton), u"Change");
    EXPECT_TRUE(d.IsVisible(id::WpaButton));
    EXPECT_FALSE(d.Editing());
  });
  EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::Main);
  EXPECT_EQ(dialogs.Registered(dialog_number::MoreSettings), nullptr);
}

TEST_F(MoreSettingsTest, StoredValuesWithoutAnEntryShowNone) {
  Store({{config::key::NetworkType, u"0"}, {config::key::Channel, u"99"},
         {config::key::AuthenticationMode, u"8"}, {config::key::WEPStatus, u"9"}});
  Open([&](CBasicSettingDlg& d) {
    EXPECT_EQ(d.ComboSelection(id::NetworkTypeBox), 0);
    EXPECT_EQ(d.ComboSelection(id::ChannelBox), -1);
    EXPECT_EQ(d.ComboSelection(id::AuthenticationBox), -1);
    EXPECT_EQ(d.GetText(id::AuthenticationBox), u"");
    EXPECT_EQ(d.ComboSelection(id::EncryptionBox), -1);
    EXPECT_TRUE(d.GetCheck(id::AnyCheck));  // no SSID stored: any network
  });
}

TEST_F(MoreSettingsTest, ProductSwitchesDecideTheEntriesOffered) {
  const struct {
    StationSettingsProduct product;
    int authentications, networkTypes;
    bool wpaButton;
  } cases[] = {
      {{0, 0, 1}, 3, 3, false},
      {{1, 0, 1}, 5, 3, true},
      {{1, 1, 0}, 7, 2, true},
  };
  for (const auto& c : cases) {
    product = c.product;
    Open([&](CBasicSettingDlg& d) {
      EXPECT_EQ(d.ComboCount(id::AuthenticationBox), c.authentications);
      EXPECT_EQ(d.ComboCount(id::NetworkTypeBox), c.networkTypes);
      EXPECT_EQ(d.IsVisible(id::WpaButton), c.wpaButton);
    });
  }
}

TEST_F(MoreSettingsTest, ApplyPushesInfrastructureSettingsInOrderAndStartsTheSupplicant) {
  DualBandAdapter();
  Store({{config::key::NetworkType, u"1"}, {config::key::AuthenticationMode, u"7"},
         {config::key::WEPStatus, u"6"}, {config::key::SSID, u"old"}});
  Open([&](CBasicSettingDlg& d) {
    d.UserClick(id::ChangeApplyButton);
    EXPECT_TRUE(d.Editing());
    EXPECT_EQ(d.GetText(id::ChangeApplyButton), u"Apply");
    EXPECT_FALSE(d.IsEnabled(id::ChannelBox));  // infrastructure
    EXPECT_FALSE(d.IsEnabled(id::WirelessModeBox));
    EXPECT_TRUE(d.IsEnabled(id::SsidEdit));
    d.UserType(id::SsidEdit, u"Home-WPA2");
    driver.ClearCalls();
    d.UserClick(id::ChangeApplyButton);
    EXPECT_FALSE(d.Editing());
    EXPECT_EQ(d.GetText(id::ChangeApplyButton), u"Change");
    EXPECT_FALSE(d.IsEnabled(id::SsidEdit));
  });
  const std::vector<std::string> expected = {
      "SetWL_NetworkType(1)",
      "SetWL_802_11_NetworkTypeInUse(4)",  // dual band in infrastructure: either band
      "SetWL_AuthenticationMode(7)",       // WPA2-PSK written back as it was stored
      "SetWL_WEPStatus(6)",
      RandomSsidCall(),
      "SetWL_SSID(486F6D652D57504132, 9)",
      "SetWL_DesiredRate(02040B160C1200000000000000000000)",
  };
  EXPECT_THAT(driver.Calls("SetWL"), ElementsAreArray(expected));
  EXPECT_THAT(supplicant.events,
              ElementsAre("stop after nothing", "start after " + expected.back()));
  EXPECT_EQ(Stored(config::key::SSID), u"Home-WPA2");
  EXPECT_EQ(Stored(config::key::STATxRate), u"0");
  EXPECT_EQ(Stored(config::key::WirelessMode), u"4");
}

TEST_F(MoreSettingsTest, ChoosingAdHocShrinksTheListsAndAppliesChannelAndBand) {
  DualBandAdapter();
  driver.Answer("QueryWL_QVAdhocMode", 0);  // 802.11b rates only
  // The rate box is hidden: a fixed rate comes from the stored set.
  Store({{config::key::NetworkType, u"1"}, {config::key::AuthenticationMode, u"4"},
         {config::key::WEPStatus, u"4"}, {config::key::SSID, u"Cafe-WPA-TKIP"},
         {config::key::DesiredRate, u"16 00 00"}});
  Open([&](CBasicSettingDlg& d) {
    d.UserClick(id::ChangeApplyButton);
    d.UserSelect(id::NetworkTypeBox, 0);
    EXPECT_EQ(radio.currentNetworkType.load(), 0);
    EXPECT_EQ(Items(d, id::AuthenticationBox),
              (Texts{u"Open System", u"Shared Key", u"Auto Switch"}));
    EXPECT_EQ(d.ComboSelection(id::AuthenticationBox), 2);  // WPA-PSK is not for ad hoc
    EXPECT_EQ(Items(d, id::EncryptionBox), (Texts{u"WEP", u"Disabled"}));
    EXPECT_EQ(d.ComboSelection(id::EncryptionBox), 1);  // TKIP shows as disabled
    EXPECT_EQ(Items(d, id::TxRateBox),
              (Texts{u"Auto", u"1 Mbps", u"2 Mbps", u"5.5 Mbps", u"11 Mbps"}));
    EXPECT_EQ(d.ComboSelection(id::TxRateBox), 4);
    EXPECT_TRUE(d.IsEnabled(id::ChannelBox));
    EXPECT_TRUE(d.IsEnabled(id::WirelessModeBox));

    d.UserSelect(id::WirelessModeBox, 0);
    d.UserSelect(id::ChannelBox, 9);
    d.UserClick(id::AnyCheck);
    EXPECT_FALSE(d.IsEnabled(id::SsidEdit));
    driver.ClearCalls();
    d.UserClick(id::ChangeApplyButton);
  });
  const std::string key = "SetWL_WriteKey(";
  EXPECT_THAT(driver.Calls("SetWL"),
              ElementsAre("SetWL_NetworkType(0)", "SetWL_802_11_NetworkTypeInUse(3)",
                          "SetWL_Channel(10)", "SetWL_AuthenticationMode(2)",
                          ::testing::StartsWith(key + "0, 0, 1, "),
                          ::testing::StartsWith(key + "1, 0, 0, "),
                          ::testing::StartsWith(key + "2, 0, 0, "),
                          ::testing::StartsWith(key + "3, 0, 0, "), "SetWL_WEPStatus(1)",
                          RandomSsidCall(), "SetWL_SSID(, 0)",
                          "SetWL_DesiredRate(16000000000000000000000000000000)"));
  EXPECT_EQ(Stored(config::key::STATxRate), u"22");
  EXPECT_EQ(Stored(config::key::SSID), u"");
  EXPECT_THAT(supplicant.events, ElementsAre("stop after nothing"));  // open: none started
}

TEST_F(MoreSettingsTest, SsidIsTakenAsTypedUnlessItIsTooLong) {
  std::string thirtyTwoX;
  for (int i = 0; i < 32; ++i) thirtyTwoX += "78";
  // The box is limited to 32 characters only when the adapter opens; otherwise a longer name
  // can be typed.
  const struct {
    std::u16string typed;
    std::string pushed;  // the SSID after the random one
    int adapterOpens;
  } cases[] = {
      {u"  ab  ", "SetWL_SSID(202061622020, 6)", 1},
      {u"   " + std::u16string(32, u'x'), "SetWL_SSID(" + thirtyTwoX + ", 32)", 0},
      {u"   " + std::u16string(32, u'x'), "SetWL_SSID(202020" + thirtyTwoX.substr(6) + ", 32)", 1},
      {u"caf\u00E9", "SetWL_SSID(636166E9, 4)", 1},
  };
  for (const auto& c : cases) {
    driver.Answer("QvOpenAdapter", c.adapterOpens);
    Open([&](CBasicSettingDlg& d) {
      d.UserClick(id::ChangeApplyButton);
      if (d.GetCheck(id::AnyCheck)) d.UserClick(id::AnyCheck);
      d.UserType(id::SsidEdit, c.typed);
      d.UserClick(id::ChangeApplyButton);
    });
    EXPECT_EQ(driver.Calls("SetWL_SSID").back(), c.pushed);
  }
}

TEST_F(MoreSettingsTest, DynamicWepForcesOpenAuthenticationBeforeTheSupplicant) {
  Store({{config::key::NetworkType, u"1"}, {config::key::AuthenticationMode, u"0"},
         {config::key::WEPStatus, u"0"}, {config::key::Dot1xRC4WEP, u"1"}});
  Open([&](CBasicSettingDlg& d) {
    d.UserClick(id::ChangeApplyButton);
    EXPECT_EQ(d.ComboSelection(id::EncryptionBox), 1);  // WEP
    d.UserClick(id::ChangeApplyButton);
  });
  EXPECT_EQ(driver.Calls("SetWL").back(), "SetWL_AuthenticationMode(0)");
  EXPECT_EQ(supplicant.events.back(), "start after SetWL_AuthenticationMode(0)");
  EXPECT_EQ(Stored(config::key::WEPStatus), u"0");
}

TEST_F(MoreSettingsTest, ProfileButtonsReportBlankUnknownAndUnstorableNames) {
  Open([&](CBasicSettingDlg& d) {
    d.UserType(id::ProfileBox, u"   ");
    d.UserClick(id::SaveButton);
    d.UserClick(id::LoadButton);
    d.UserClick(id::DeleteButton);
    d.UserType(id::ProfileBox, u"nowhere");
    d.UserClick(id::LoadButton);
    d.UserClick(id::DeleteButton);
    d.UserType(id::ProfileBox, u"home\\office");
    d.UserClick(id::SaveButton);
    EXPECT_EQ(d.ComboCount(id::ProfileBox), 0);
  });
  const std::string empty = "Profile: Please specify or input a profile name!";
  const std::string unknown = "Profile: Can't find the specified profile: \"nowhere\".";
  EXPECT_THAT(MessageTexts(),
              ElementsAre(empty, empty, empty, unknown, unknown,
                          "Profile: A profile name cannot contain a backslash (\\)."));
  EXPECT_EQ(session.backend.MessageBoxes()[0].icon, platform::window::MessageIcon::Exclamation);
  config::ProfileStore profiles(store);
  EXPECT_THAT(profiles.ProfileNames(), IsEmpty());
  EXPECT_THAT(driver.Calls("SetWL"), IsEmpty());
}

TEST_F(MoreSettingsTest, SaveLoadAndDeleteKeepTheBoxAndControlsCurrent) {
  Store({{config::key::NetworkType, u"1"}, {config::key::SSID, u"Home-WPA2"},
         {config::key::AuthenticationMode, u"7"}, {config::key::WEPStatus, u"6"}});
  Open([&](CBasicSettingDlg& d) {
    for (std::u16string_view name : {u"Home", u"Office", u"Cafe"}) {
      d.UserType(id::ProfileBox, name);
      d.UserClick(id::SaveButton);
    }
    EXPECT_EQ(Items(d, id::ProfileBox), (Texts{u"Home", u"Office", u"Cafe"}));
    EXPECT_EQ(d.GetText(id::ProfileBox), u"");

    Store({{config::key::SSID, u"Harbor-Open"}, {config::key::AuthenticationMode, u"0"},
           {config::key::WEPStatus, u"1"}});
    d.UserType(id::ProfileBox, u" home ");
    d.UserClick(id::LoadButton);
    EXPECT_EQ(d.GetText(id::SsidEdit), u"Home-WPA2");
    EXPECT_EQ(d.ComboSelection(id::AuthenticationBox), 6);
    EXPECT_EQ(supplicant.events.back().substr(0, 5), "start");

    d.UserType(id::ProfileBox, u"OFFICE");
    d.UserClick(id::DeleteButton);
    EXPECT_EQ(Items(d, id::ProfileBox), (Texts{u"Home", u"Cafe"}));
  });
  EXPECT_THAT(MessageTexts(), IsEmpty());
}

TEST_F(MoreSettingsTest, AProfileChainThatLoopsListsEachProfileOnce) {
  const std::u16string app = store.ApplicationKey();
  (void)store.WriteAppText(u"ProfileLink", u"A");
  for (const auto& [from, to] : {std::pair{u"A", u"B"}, {u"B", u"C"}, {u"C", u"A"}}) {
    (void)registry.SetValue(platform::RegRoot::CurrentUser, app + u"\\Profile\\" + from,
                            u"ProfileLink", platform::RegValue::Text(to));
  }
  Open([&](CBasicSettingDlg& d) {
    EXPECT_EQ(Items(d, id::ProfileBox), (Texts{u"A", u"B", u"C"}));
  });
}

TEST_F(MoreSettingsTest, OpensTheOtherDialogsAsItsOwn) {
  std::vector<int> activeInside;
  session.driver.OnOpen(159, [&](platform::window::Dialog&) { activeInside.push_back(dialogs.ActiveDialogNumber()); });
  session.driver.OnOpen(161, [&](platform::window::Dialog&) { activeInside.push_back(dialogs.ActiveDialogNumber()); });
  Open([&](CBasicSettingDlg& d) {
    d.UserClick(id::WepButton);
    d.UserClick(id::WpaButton);
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::MoreSettings);
    driver.ClearCalls();
    d.UserClick(id::AdvancedButton);
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::MoreSettings);
    // Closing the advanced dialog rebuilds the lists.
    EXPECT_EQ(driver.Calls("QueryWL_SupportChannel").size(), 1u);
    d.UserClick(id::InformationButton);
    EXPECT_EQ(dialogs.ActiveDialogNumber(), dialog_number::MoreSettings);
  });
  EXPECT_THAT(subDialogs, ElementsAre("wep 1", "wpa 1"));
  EXPECT_THAT(activeInside, ElementsAre(dialog_number::Advanced, dialog_number::Information));
}

}  // namespace
}  // namespace ui::settings
