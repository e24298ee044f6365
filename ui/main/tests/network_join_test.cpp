// Joining a surveyed network on a recording driver: the radio settings, the security row taken
// for the announced elements and the product switches, the prompts and dialogs, the supplicant,
// and the transmit rates.
#include "ui/main/network_join.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "adapter/testing/survey_builder.h"
#include "config/setting_keys.h"
#include "config/tests/applier_fixture.h"
#include "ui/main/tests/security_elements.h"

namespace ui {
namespace {

using namespace testing;
using adapter::testing::SurveyBufferBytes;
using adapter::testing::SurveyEntryFields;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace key = config::key;

// Prompts answered from a script; every question, dialog and supplicant start goes into one log.
class ScriptedQuestions final : public JoinQuestions, public config::SupplicantControl {
 public:
  bool UsePreviousSettings(SecurityPrompt prompt) override {
    log.push_back(prompt == SecurityPrompt::Wpa2  ? "WPA2 prompt"
                  : prompt == SecurityPrompt::Wpa ? "WPA prompt"
                                                  : "WEP prompt");
    return usePrevious;
  }
  void EditWpaSettings() override {
    log.push_back("WPA dialog");
    if (dialog) dialog();
  }
  void EditWepKeys() override {
    log.push_back("WEP dialog");
    if (dialog) dialog();
  }
  void StartSupplicant() override { log.push_back("start supplicant"); }
  void StopSupplicant() override { log.push_back("stop supplicant"); }

  bool usePrevious = false;
  std::function<void()> dialog;  // what the dialog does before it closes
  std::vector<std::string> log;
};

class NetworkJoinTest : public ::testing::Test, protected config::testing::ApplierFixture {
 protected:
  void Join(const SurveyEntryFields& fields, JoinSwitches switches) {
    const std::vector<std::uint8_t> buffer = SurveyBufferBytes({fields});
    JoinSurveyedNetwork(context, questions, questions, switches,
                        adapter::ReadSurveyList(buffer).at(0));
  }
  std::string Stored(std::u16string_view name) const {
    return platform::ToUtf8(store.ReadSettingString(name));
  }

  ScriptedQuestions questions;
};

SurveyEntryFields Entry(Bytes elements, std::uint32_t privacy = 1,
                        std::uint32_t infrastructure = adapter::kSurveyInfrastructure) {
  SurveyEntryFields fields;
  fields.ssid = "Lab";
  fields.elements = std::move(elements);
  fields.privacy = privacy;
  fields.infrastructureMode = infrastructure;
  return fields;
}

constexpr JoinSwitches kBoth{true, true, false};
constexpr JoinSwitches kWpaOnly{true, false, false};
constexpr JoinSwitches kNeither{false, false, false};

struct SecurityCase {
  std::string name;
  SurveyEntryFields entry;
  JoinSwitches switches;
  // Stored afterwards; "" when never written.
  std::string networkType, authentication, encryption;
  std::vector<std::string> log;
};

TEST_F(NetworkJoinTest, TheAnnouncedSecurityPicksTheRowAndItsSettings) {
  const Bytes mixedRsnFirst = Concat({Rsn({kCcmp}, {kPsk}), Wpa({kTkip}, {kPsk})});
  const Bytes mixedWpaFirst = Concat({Wpa({kTkip}, {kPsk}), Rsn({kCcmp}, {kPsk})});
  const std::vector<std::string> wpa2NoStart{"WPA2 prompt", "WPA dialog", "start supplicant"};
  const std::vector<std::string> wpaNoStart{"WPA prompt", "WPA dialog", "start supplicant"};
  const SecurityCase cases[] = {
      {"WPA2-PSK AES", Entry(Rsn({kCcmp}, {kPsk})), kBoth, "1", "7", "6", wpa2NoStart},
      {"WPA2 802.1X AES", Entry(Rsn({kCcmp}, {k8021X})), kBoth, "1", "6", "6", wpa2NoStart},
      {"WPA-PSK TKIP", Entry(Wpa({kTkip}, {kPsk})), kWpaOnly, "1", "4", "4", wpaNoStart},
      {"WPA 802.1X TKIP", Entry(Wpa({kTkip}, {k8021X})), kBoth, "1", "3", "4", wpaNoStart},
      {"mixed, RSN first, both switches", Entry(mixedRsnFirst), kBoth, "1", "7", "6", wpa2NoStart},
      {"mixed, WPA first, both switches", Entry(mixedWpaFirst), kBoth, "1", "7", "6", wpa2NoStart},
      {"mixed without WPA2 mode: WPA row with the last element's values", Entry(mixedRsnFirst),
       kWpaOnly, "1", "4", "4", wpaNoStart},
      {"WEP-40 pairwise", Entry(Rsn({1}, {kPsk})), kBoth, "1", "7", "0", wpa2NoStart},
      {"WEP-104 pairwise", Entry(Wpa({5}, {kPsk})), kWpaOnly, "1", "4", "0", wpaNoStart},
      {"group cipher pairwise: no prompt, no supplicant",
       Entry(Rsn({0}, {kPsk})),
       kBoth,
       "1",
       "7",
       "1",
       {}},
      {"WRAP pairwise: encryption left alone", Entry(Rsn({3}, {kPsk})), kBoth, "1", "7", "", {}},
      {"unknown key management: authentication left alone", Entry(Rsn({kCcmp}, {9})), kBoth, "1",
       "", "6", wpa2NoStart},
      {"ad hoc WPA2-PSK: WPA-None", Entry(Rsn({kCcmp}, {kPsk}), 1, adapter::kSurveyAdHoc), kBoth,
       "0", "5", "6", wpa2NoStart},
      {"ad hoc WPA-PSK", Entry(Wpa({kTkip}, {kPsk}), 1, adapter::kSurveyAdHoc), kWpaOnly, "0", "5",
       "4", wpaNoStart},
      {"ad hoc 802.1X: authentication left alone",
       Entry(Wpa({kTkip}, {k8021X}), 1, adapter::kSurveyAdHoc), kWpaOnly, "0", "", "4", wpaNoStart},
      {"ad hoc RSN without WPA2 mode but with WPA", Entry(mixedWpaFirst, 1, adapter::kSurveyAdHoc),
       kWpaOnly, "0", "5", "6", wpaNoStart},
      {"WPA2 network without the switches: WEP",
       Entry(Rsn({kCcmp}, {kPsk})),
       kNeither,
       "1",
       "2",
       "0",
       {"WEP prompt", "WEP dialog"}},
      {"WPA2 on automatic infrastructure mode: WEP",
       Entry(Rsn({kCcmp}, {kPsk}), 1, 2),
       kBoth,
       "2",
       "2",
       "0",
       {"WEP prompt", "WEP dialog"}},
      {"open infrastructure", Entry({}, 0), kBoth, "1", "2", "1", {}},
      {"open with a WMM element", Entry(Wmm(), 0), kBoth, "1", "2", "1", {}},
      {"open ad hoc", Entry({}, 0, adapter::kSurveyAdHoc), kBoth, "0", "2", "1", {}},
      {"an infrastructure mode beyond the types", Entry({}, 0, 7), kBoth, "", "2", "1", {}},
  };
  for (const SecurityCase& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry->DeleteKey(platform::RegRoot::CurrentUser, u"software");
    questions.log.clear();
    Join(c.entry, c.switches);
    EXPECT_EQ(Stored(key::NetworkType), c.networkType);
    EXPECT_EQ(Stored(key::AuthenticationMode), c.authentication);
    EXPECT_EQ(Stored(key::WEPStatus), c.encryption);
    EXPECT_EQ(questions.log, c.log);
  }
}

TEST_F(NetworkJoinTest, NetworksNamingNoKeyManagementGetTheDriversModeAgain) {
  struct Case {
    std::int32_t current;
    std::string applied;
  };
  for (const Case& c : {Case{4, "4"}, Case{0, "0"}, Case{-1, "2"}, Case{8, "2"}, Case{-5, "2"}}) {
    SCOPED_TRACE(c.current);
    driver.ClearCalls();
    driver.AnswerNext("QueryWL_AuthenticationMode", c.current);
    Join(Entry(Rsn({kCcmp}, {0})), kBoth);
    EXPECT_THAT(driver.Calls("SetWL_AuthenticationMode"),
                ElementsAre("SetWL_AuthenticationMode(" + c.applied + ")"));
  }
}

TEST_F(NetworkJoinTest, TheWpaFamilyPushesTypeAndModeBeforeAskingThenEncryption) {
  std::vector<std::string> beforeDialog;
  questions.dialog = [&] { beforeDialog = driver.Calls("Set"); };
  Join(Entry(Rsn({kCcmp}, {kPsk})), kBoth);
  const std::vector<std::string> radio{"SetWL_802_11_NetworkTypeInUse(2)",
                                       "SetWL_BSSID(025AA0000001)", "SetWL_SSID(4C6162, 3)"};
  EXPECT_THAT(beforeDialog, ElementsAre(radio[0], radio[1], radio[2], "SetWL_NetworkType(1)",
                                        "SetWL_AuthenticationMode(7)"));
  EXPECT_THAT(driver.Calls("Set"),
              ElementsAre(radio[0], radio[1], radio[2], "SetWL_NetworkType(1)",
                          "SetWL_AuthenticationMode(7)", "SetWL_WEPStatus(6)"));
}

struct WepCase {
  std::string name;
  bool usePrevious;
  bool rc4WepSupport;
  std::string storedDot1xKeys;  // "Dot1xRC4WEP" before the join
  std::string dialogDot1xKeys;  // written by the WEP dialog, "" for nothing
  std::vector<std::string> log;
  bool keysPushed;
};

TEST_F(NetworkJoinTest, WepAsksAndTakesStoredDialogOr8021XKeys) {
  const WepCase cases[] = {
      {"Yes: the stored keys", true, false, "", "", {"WEP prompt"}, true},
      {"Yes with 802.1X keys stored but not supported", true, false, "1", "", {"WEP prompt"}, true},
      {"Yes with 802.1X keys", true, true, "1", "", {"WEP prompt", "start supplicant"}, false},
      {"Yes with 802.1X supported but static keys", true, true, "0", "", {"WEP prompt"}, true},
      {"No: the dialog pushed its keys", false, false, "", "", {"WEP prompt", "WEP dialog"}, false},
      {"No, the dialog chose 802.1X keys",
       false,
       true,
       "0",
       "1",
       {"WEP prompt", "WEP dialog", "start supplicant"},
       false},
      {"No, the dialog chose static keys",
       false,
       true,
       "1",
       "0",
       {"WEP prompt", "WEP dialog"},
       false},
  };
  for (const WepCase& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry->DeleteKey(platform::RegRoot::CurrentUser, u"software");
    driver.ClearCalls();
    questions.log.clear();
    questions.usePrevious = c.usePrevious;
    if (!c.storedDot1xKeys.empty()) {
      (void)store.WriteSetting(key::Dot1xRC4WEP, platform::FromUtf8(c.storedDot1xKeys));
    }
    questions.dialog = [&] {
      if (!c.dialogDot1xKeys.empty()) {
        (void)store.WriteSetting(key::Dot1xRC4WEP, platform::FromUtf8(c.dialogDot1xKeys));
      }
    };
    Join(Entry({}, 1), JoinSwitches{true, true, c.rc4WepSupport});
    EXPECT_EQ(questions.log, c.log);
    EXPECT_EQ(Stored(key::AuthenticationMode), "2");
    EXPECT_EQ(Stored(key::WEPStatus), "0");
    EXPECT_EQ(driver.Calls("SetWL_WriteKey").size(), c.keysPushed ? 4u : 0u);
  }
}

TEST_F(NetworkJoinTest, YesPushesTheFourStoredKeysWithTheStoredDefault) {
  (void)store.WriteSetting(key::WEPKeyLength, u"128");
  (void)store.WriteSetting(key::WEPDefaultKeyId, u"1");
  (void)store.WriteSetting(config::WepKeyName(128, 1), u"00 11 22 33 44 55 66 77 88 99 AA BB CC");
  questions.usePrevious = true;
  Join(Entry({}, 1), kBoth);
  EXPECT_THAT(
      driver.Calls("SetWL_WriteKey"),
      ElementsAre(
          "SetWL_WriteKey(0, 1, 0, 0102030405060708090A0B0C0D00000000000000000000000000000000)",
          "SetWL_WriteKey(1, 1, 1, 00112233445566778899AABBCC00000000000000000000000000000000)",
          "SetWL_WriteKey(2, 1, 0, 0102030405060708090A0B0C0D00000000000000000000000000000000)",
          "SetWL_WriteKey(3, 1, 0, 0102030405060708090A0B0C0D00000000000000000000000000000000)"));
}

TEST_F(NetworkJoinTest, TheChannelIsAppliedForAdHocOnlyAndKeptForFrequenciesOfNoBand) {
  struct Case {
    std::uint32_t kilohertz;
    std::uint32_t infrastructure;
    std::vector<std::string> channelCalls;
    std::string stored;
  };
  const Case cases[] = {
      {2'437'000, adapter::kSurveyInfrastructure, {}, "6"},
      {2'484'000, adapter::kSurveyInfrastructure, {}, "14"},
      {5'180'000, adapter::kSurveyInfrastructure, {}, "36"},
      {2'457'000, adapter::kSurveyAdHoc, {"SetWL_Channel(10)"}, "10"},
      {3'000'000, adapter::kSurveyAdHoc, {}, "keep"},
      {0, adapter::kSurveyInfrastructure, {}, "keep"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kilohertz);
    (void)store.WriteSetting(key::Channel, u"keep");
    driver.ClearCalls();
    SurveyEntryFields fields = Entry({}, 0, c.infrastructure);
    fields.frequencyKhz = c.kilohertz;
    Join(fields, kBoth);
    EXPECT_EQ(driver.Calls("SetWL_Channel"), c.channelCalls);
    EXPECT_EQ(Stored(key::Channel), c.stored);
  }
}

TEST_F(NetworkJoinTest, OneStoredRateIsFixedAFullSetKeptAnythingElseTheAdapterSet) {
  const std::vector<std::uint8_t> supported{0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24,
                                            0x30, 0x48, 0x60, 0x6C, 0,    0,    0,    0};
  struct Case {
    std::u16string stored;
    std::string pushed;  // "" for no push
  };
  const Case cases[] = {
      {u"", "82848B960C1218243048606C00000000"},
      {u"  ", "82848B960C1218243048606C00000000"},
      {u"6C", "6C000000000000000000000000000000"},
      {u" 6C ", "6C000000000000000000000000000000"},
      {u"02 04", "82848B960C1218243048606C00000000"},
      {u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10", "0102030405060708090A0B0C0D0E0F10"},
      {u"00 6C", "82848B960C1218243048606C00000000"},
      {u"zz", "82848B960C1218243048606C00000000"},
  };
  driver.Answer("QueryWL_SupportedRate", 0);
  driver.AnswerBytes("QueryWL_SupportedRate", supported);
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.stored));
    driver.ClearCalls();
    (void)store.WriteSetting(key::DesiredRate, c.stored);
    Join(Entry({}, 0), kBoth);
    EXPECT_THAT(driver.Calls("SetWL_DesiredRate"),
                ElementsAre("SetWL_DesiredRate(" + c.pushed + ")"));
  }

  driver.ClearCalls();
  driver.Answer("QueryWL_SupportedRate", -1);
  (void)store.WriteSetting(key::DesiredRate, u"");
  Join(Entry({}, 0), kBoth);
  EXPECT_THAT(driver.Calls("SetWL_DesiredRate"), IsEmpty());
}

}  // namespace
}  // namespace ui
