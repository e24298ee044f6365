// The WEP key dialog: what it shows from the stored settings, masking and filtering of the key
// boxes, the apply paths (static keys, keys from 802.1X), the information dialog for a wrong key,
// and its place in the open-dialog chain.
#include "ui/security/wep_setting_dlg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/window/dump.h"
#include "ui/security/tests/security_dialog_fixture.h"

namespace ui {
namespace {

using namespace security_dialogs;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace id = wep_id;
namespace key = config::key;

class WepSettingDlgTest : public ::testing::Test, protected testing::SecurityDialogFixture {
 protected:
  // Runs a dialog opened by `opener` with `body` inside.
  void Open(int opener, const std::function<void(CWepSettingDlg&)>& body) {
    CWepSettingDlg dialog(services, opener);
    RunDialog<CWepSettingDlg>(dialog, body);
  }
  static std::u16string Stars(std::size_t count) { return std::u16string(count, u'*'); }
  static std::vector<std::u16string> Keys(const CWepSettingDlg& d) {
    std::vector<std::u16string> keys;
    for (int box : id::Keys) keys.push_back(d.GetText(box));
    return keys;
  }
  std::vector<std::string> KeyPushes() const { return driver.Calls("SetWL_WriteKey"); }
};

std::string Pushed(int index, int code, int transmit, const std::string& hex) {
  std::string padded = hex;
  padded.resize(58, '0');
  return "SetWL_WriteKey(" + std::to_string(index) + ", " + std::to_string(code) + ", " +
         std::to_string(transmit) + ", " + padded + ")";
}

TEST_F(WepSettingDlgTest, OpensReadOnlyWithTheStoredChoicesAndMaskedKeys) {
  struct Case {
    const char* name;
    std::u16string bits, format, defaultKey;
    int lengthRadio, formatRadio, transmit;
    std::size_t masked;
  };
  const Case cases[] = {
      {"nothing stored", u"", u"", u"", id::Length64, id::Hexadecimal, 0, 10},
      {"128-bit ASCII, key 3", u"128", u"1", u"2", id::Length128, id::Ascii, 2, 13},
      {"256-bit hexadecimal", u"256", u"0", u"3", id::Length256, id::Hexadecimal, 3, 58},
      {"odd values", u"100", u"7", u"9", id::Length64, id::Hexadecimal, 0, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::WEPKeyLength, c.bits);
    StoreSetting(key::WEPKeyFormat, c.format);
    StoreSetting(key::WEPDefaultKeyId, c.defaultKey);
    Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
      EXPECT_EQ(d.Caption(), u"WEP Key Setting...  ");
      EXPECT_FALSE(d.Editing());
      EXPECT_EQ(d.GetText(id::ChangeApply), u"Change");
      EXPECT_TRUE(d.GetCheck(c.lengthRadio));
      EXPECT_TRUE(d.GetCheck(c.formatRadio));
      EXPECT_EQ(d.ComboSelection(id::DefaultKey), c.transmit);
      EXPECT_EQ(d.ComboItem(id::DefaultKey, 3), u"#4");
      EXPECT_THAT(Keys(d),
                  ElementsAre(Stars(c.masked), Stars(c.masked), Stars(c.masked), Stars(c.masked)));
      for (int control :
           {id::Length64, id::Hexadecimal, id::DefaultKey, id::Keys[0], id::Dot1xKeys}) {
        EXPECT_FALSE(d.IsEnabled(control)) << control;
      }
    });
  }
}

TEST_F(WepSettingDlgTest, OptionalControlsFollowTheProductAndTheMode) {
  services.product = {0, 0};
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    EXPECT_FALSE(d.IsVisible(id::Length256));
    EXPECT_FALSE(d.IsVisible(id::Dot1xKeys));
  });
  services.product = {1, 1};
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    EXPECT_TRUE(d.IsVisible(id::Length256));
    EXPECT_TRUE(d.IsVisible(id::Dot1xKeys));
    EXPECT_EQ(d.GetText(id::Dot1xKeys), u"The key is provided via 802.1x authentication");
  });
  store.SetOperationMode(config::kAccessPointMode);
  Open(dialog_number::AccessPoint,
       [&](CWepSettingDlg& d) { EXPECT_FALSE(d.IsVisible(id::Dot1xKeys)); });
  // A stored 256-bit length stays selected when the product hides its button.
  store.SetOperationMode(config::kStationMode);
  services.product = {0, 1};
  StoreSetting(key::WEPKeyLength, u"256");
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) { EXPECT_EQ(d.LengthIndex(), 2); });
}

TEST_F(WepSettingDlgTest, JoinsTheChainAsNumberThreeWhileOpen) {
  chain.SetActiveDialogNumber(dialog_number::MoreSettings);
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeys);
    EXPECT_EQ(chain.Registered(dialog_number::WepKeys), &d);
  });
  EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::MoreSettings);
  EXPECT_EQ(chain.Registered(dialog_number::WepKeys), nullptr);
}

TEST_F(WepSettingDlgTest, HexadecimalBoxesDropOtherCharactersAndKeepTheCaretWhereTheyWere) {
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    ASSERT_TRUE(d.Editing());
    d.UserType(id::Keys[1], u"1A2G3");
    EXPECT_EQ(d.GetText(id::Keys[1]), u"1A23");
    EXPECT_EQ(d.Caret(id::Keys[1]), 3);
    d.UserType(id::Keys[2], u"abCD");
    EXPECT_EQ(d.GetText(id::Keys[2]), u"abCD");
    EXPECT_EQ(d.Caret(id::Keys[2]), 4);
    // Typed keys are secrets: the dump shows stars only.
    EXPECT_EQ(platform::window::DumpControl(*d.Control(id::Keys[2]))["text"], "****");

    d.UserClick(id::Ascii);
    d.UserType(id::Keys[0], u"a-b c");
    EXPECT_EQ(d.GetText(id::Keys[0]), u"a-b c");
  });
}

TEST_F(WepSettingDlgTest, LengthAndFormatChangesMaskAgainAndTheFormatIsStoredAtOnce) {
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    d.UserType(id::Keys[0], u"12345");
    d.UserClick(id::Length128);
    EXPECT_EQ(d.LengthIndex(), 1);
    EXPECT_EQ(d.GetText(id::Keys[0]), Stars(26));
    EXPECT_EQ(d.Control(id::Keys[0])->limit, 26);
    d.UserClick(id::Ascii);
    EXPECT_EQ(d.GetText(id::Keys[0]), Stars(13));
    EXPECT_EQ(Stored(key::WEPKeyFormat), u"1");
  });
  // Closed without applying: the format stays, nothing else was written.
  EXPECT_EQ(Stored(key::WEPKeyFormat), u"1");
  EXPECT_EQ(Stored(key::WEPKeyLength), u"");
  EXPECT_THAT(KeyPushes(), IsEmpty());
}

TEST_F(WepSettingDlgTest, ApplyPushesTypedKeysAndTheStoredOnesOfUntouchedBoxes) {
  StoreSetting(key::WEPKeyLength, u"128");
  StoreSetting(config::WepKeyName(128, 2), u"00 11 22 33 44 55 66 77 88 99 AA BB CC");
  Open(dialog_number::Main, [&](CWepSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    d.UserClick(id::Ascii);
    d.UserType(id::Keys[1], u"abcdefghijklm");
    d.UserSelect(id::DefaultKey, 1);
    d.UserClick(id::ChangeApply);
    EXPECT_FALSE(d.Editing());
    EXPECT_EQ(d.GetText(id::Keys[1]), Stars(13));
  });
  const std::string defaultKey = "0102030405060708090A0B0C0D";
  EXPECT_THAT(
      KeyPushes(),
      ElementsAre(Pushed(0, 1, 0, defaultKey), Pushed(1, 1, 1, "6162636465666768696A6B6C6D"),
                  Pushed(2, 1, 0, "00112233445566778899AABBCC"), Pushed(3, 1, 0, defaultKey)));
  EXPECT_EQ(Stored(config::WepKeyName(128, 1)), u"61 62 63 64 65 66 67 68 69 6A 6B 6C 6D");
  EXPECT_EQ(Stored(key::WEPDefaultKeyId), u"1");
  EXPECT_EQ(Stored(key::Dot1xRC4WEP), u"0");
  // Opened while joining: the join itself associates afterwards.
  EXPECT_THAT(driver.Calls("SetWL_SSID"), IsEmpty());
}

TEST_F(WepSettingDlgTest, ALongerKeyLengthAppliedWithoutTypingPushesTheStoredKeysOfThatLength) {
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    d.UserClick(id::Length128);
    d.UserClick(id::ChangeApply);
  });
  EXPECT_EQ(KeyPushes().size(), 4u);
  EXPECT_EQ(KeyPushes()[0], Pushed(0, 1, 1, "0102030405060708090A0B0C0D"));
  EXPECT_EQ(Stored(key::WEPKeyLength), u"128");
}

TEST_F(WepSettingDlgTest, AWrongKeyOpensTheInformationAndNothingIsApplied) {
  struct Case {
    const char* name;
    int lengthRadio;
    std::vector<std::pair<int, std::u16string>> typed;
  };
  const Case cases[] = {
      {"nine digits in key 1, key 2 right", id::Length64, {{0, u"123456789"}, {1, u"1234567890"}}},
      {"key 3 wrong, keys 1 and 2 untouched", id::Length128, {{2, u"12"}}},
      {"key 4 wrong after three right ones",
       id::Length64,
       {{0, u"1111111111"}, {1, u"2222222222"}, {2, u"3333333333"}, {3, u"44"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    driver.ClearCalls();
    bool informed = false;
    OnOpen(wep_info_template::Id, [&](platform::window::Dialog& info) {
      informed = true;
      EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeyInformation);
      EXPECT_EQ(info.Caption(), u"WEP keyInformation...  ");
      EXPECT_EQ(
          info.GetText(wep_info_id::Lines[1]),
          u"64 bit - the Password is either 5 alphanumeric characters or 10 hexadecimal values.");
      info.UserClick(platform::window::IdOk);
    });
    Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      d.UserClick(c.lengthRadio);
      for (const auto& [box, text] : c.typed) d.UserType(id::Keys[box], text);
      d.UserClick(id::ChangeApply);
      EXPECT_TRUE(informed);
      EXPECT_TRUE(d.Editing());
      EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeys);
      EXPECT_EQ(d.GetText(id::Keys[0]), Stars(d.LengthIndex() == 0 ? 10 : 26));
    });
    EXPECT_THAT(KeyPushes(), IsEmpty());
    EXPECT_THAT(driver.Calls("SetWL_SSID"), IsEmpty());
    EXPECT_EQ(Stored(key::Dot1xRC4WEP), u"");
  }
}

TEST_F(WepSettingDlgTest, FromMoreSettingsTheAdapterAssociatesAgainWithTheNewKeys) {
  StoreSetting(key::SSID, u"Lab-WEP64");
  driver.Answer("QueryWL_ConnectState", 0);
  driver.AnswerBytes("QueryWL_BSSID", {0x02, 0x5A, 0xA0, 0x00, 0x00, 0x02});
  driver.Answer("QueryWL_BSSID", 0);
  Open(dialog_number::MoreSettings, [&](CWepSettingDlg& d) {
    d.UserClick(id::ChangeApply);
    d.UserType(id::Keys[0], u"1A2B3C4D5E");
    d.UserClick(id::ChangeApply);
  });
  const std::vector<std::string> calls = driver.Calls("SetWL");
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_THAT(std::vector<std::string>(calls.begin() + 4, calls.end()),
              ElementsAre("SetWL_BSSID(025AA0000002)", "SetWL_SSID(4C61622D5745503634, 9)"));
}

TEST_F(WepSettingDlgTest, KeysFrom8021XAskWhetherToKeepThe8021XSettings) {
  struct Case {
    const char* name;
    int opener;
    bool keepPrevious;
    bool wpaDialog;
    std::vector<std::string> driverCalls;
    int supplicantStops, supplicantStarts;
  };
  const Case cases[] = {
      {"joining, Yes", dialog_number::Main, true, false, {}, 0, 0},
      {"joining, No", dialog_number::Main, false, true, {}, 0, 0},
      {"More Settings, Yes",
       dialog_number::MoreSettings,
       true,
       false,
       {"SetWL_AuthenticationMode(0)", "SetWL_SSID(436F7270, 4)"},
       1,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSetting(key::SSID, u"Corp");
    StoreSetting(key::Dot1xRC4WEP, u"0");
    driver.ClearCalls();
    supplicant = {};
    bool wpaOpened = false;
    if (c.wpaDialog) {
      OnOpen(dot1x_template::Id, [&](platform::window::Dialog&) {
        wpaOpened = true;
        EXPECT_EQ(chain.ActiveDialogNumber(), dialog_number::WepKeys);
      });
    }
    session.backend.QueueAnswer(c.keepPrevious ? platform::window::MessageResult::Yes
                                               : platform::window::MessageResult::No);
    Open(c.opener, [&](CWepSettingDlg& d) {
      d.UserClick(id::ChangeApply);
      d.UserClick(id::Dot1xKeys);
      EXPECT_FALSE(d.IsEnabled(id::Keys[0]));
      EXPECT_FALSE(d.IsEnabled(id::Length128));
      d.UserClick(id::ChangeApply);
      EXPECT_FALSE(d.Editing());
      EXPECT_TRUE(d.GetCheck(id::Dot1xKeys));
    });
    EXPECT_EQ(wpaOpened, c.wpaDialog);
    EXPECT_EQ(Stored(key::Dot1xRC4WEP), u"1");
    EXPECT_THAT(KeyPushes(), IsEmpty());
    EXPECT_EQ(driver.Calls("SetWL"), c.driverCalls);
    EXPECT_EQ(supplicant.StopRequests(), c.supplicantStops);
    EXPECT_EQ(supplicant.StartRequests(), c.supplicantStarts);
    const auto& box = session.backend.MessageBoxes().back();
    EXPECT_EQ(box.caption, u"Use Previous 802.1x Setting");
    EXPECT_EQ(box.text,
              u"You have selected to connect to the 802.1x authentication network.\n"
              u"Do you want to use the previous 802.1x setting?\n");
  }
}

}  // namespace
}  // namespace ui
