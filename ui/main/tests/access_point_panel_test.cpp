// The access point panel: stored configuration with its repairs, and the station list.
#include "ui/main/access_point_panel.h"

#include <gmock/gmock.h>

#include <optional>
#include <string>

#include "config/setting_keys.h"
#include "ui/main/tests/station_panel_fixture.h"

namespace ui::testing {
namespace {

namespace key = config::key;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::u16string_view kBefore = u"before";

class AccessPointPanelTest : public StationPanelTest {
 protected:
  void SetUp() override {
    StationPanelTest::SetUp();
    store.SetOperationMode(config::kAccessPointMode);
  }
  // One panel refresh on a dialog whose fields read "before".
  void Refresh(const std::function<void(Dialog&)>& check) {
    RunInDialog([&](Dialog& d) {
      for (int c = id::PanelValue1; c <= id::PanelValue5; ++c) d.SetText(c, kBefore);
      AccessPointPanel panel(d, {driver, handle, store, radio}, language);
      panel.RefreshApPanel();
      check(d);
    });
  }
  void Store(std::u16string_view name, std::u16string_view text) {
    ASSERT_EQ(store.WriteSetting(name, text), 0);
  }

  config::RadioState radio;
};

// A stored value of nullopt is absent. `push`: the repair the panel pushes, none when empty.
struct FieldCase {
  const char* name;
  std::optional<std::u16string> stored;
  std::u16string shown;
  std::vector<std::string> pushes;
  std::optional<std::u16string> storedAfter;
};

TEST_F(AccessPointPanelTest, ChannelIsShownAndRepaired) {
  const FieldCase cases[] = {
      {"driver's choice", u"0", u"---", {}, u"0"},
      {"a channel", u"11", u"11", {}, u"11"},
      {"a 5 GHz channel", u"165", u"165", {}, u"165"},
      {"200 is beyond any channel", u"200", u"6", {"SetWL_Channel(6)"}, u"6"},
      {"250", u"250", u"6", {"SetWL_Channel(6)"}, u"6"},
      {"negative", u"-3", u"6", {"SetWL_Channel(6)"}, u"6"},
      {"absent", std::nullopt, u"6", {"SetWL_Channel(6)"}, u"6"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry.DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(1));
    if (c.stored) Store(key::Channel, *c.stored);
    driver.ClearCalls();
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue1), c.shown); });
    EXPECT_EQ(driver.Calls("SetWL_Channel"), c.pushes);
    EXPECT_EQ(store.ReadSettingString(key::Channel), c.storedAfter.value_or(u""));
  }
}

TEST_F(AccessPointPanelTest, AnAccessPointWithoutSsidTakesTheDefaultNameOnDriverAndStore) {
  const FieldCase cases[] = {
      {"stored", u"Lobby", u"Lobby", {}, u"Lobby"},
      {"cut to 32 characters for the panel only", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
       u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", {}, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
      {"empty", u"", u"WLAN_AP", {"SetWL_SSID(574C414E5F4150, 7)"}, u"WLAN_AP"},
      {"absent", std::nullopt, u"WLAN_AP", {"SetWL_SSID(574C414E5F4150, 7)"}, u"WLAN_AP"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry.DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(1));
    if (c.stored) Store(key::SSID, *c.stored);
    driver.ClearCalls();
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue2), c.shown); });
    EXPECT_EQ(driver.Calls("SetWL_SSID"), c.pushes);
    EXPECT_EQ(store.ReadSettingString(key::SSID), c.storedAfter.value_or(u""));
  }

  // The language file names the default access point.
  auto file = platform::IniFile::Parse(
      "[LANGUAGES]\nLanguage_1_Section=L\n[L]\nMP_AP_Curr_Net_Setting_SSID_Default=Gast\n");
  ASSERT_EQ(language.LoadLanguage(file, lang::kIndexSection), 1);
  (void)registry.DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(1));
  Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue2), u"Gast"); });
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"Gast");
}

TEST_F(AccessPointPanelTest, EncryptionByStatusAndKeyLength) {
  const struct {
    const char* name;
    const char16_t* status;
    const char16_t* bits;
    std::u16string shown;
    std::vector<std::string> pushes;
  } cases[] = {
      {"64-bit WEP", u"0", u"64", u"Enable 64 bit", {}},
      {"128-bit WEP", u"0", u"128", u"Enable 128 bit", {}},
      {"256-bit WEP", u"0", u"256", u"Enable 256 bit", {}},
      {"a key length below 64 counts as 64", u"0", u"40", u"Enable 64 bit", {}},
      {"above 256 too", u"0", u"300", u"Enable 64 bit", {}},
      {"a length between the three shows nothing new", u"0", u"100", u"before", {}},
      {"off", u"1", u"128", u"Disable", {}},
      {"TKIP is not the panel's to show", u"4", u"64", u"before", {}},
      {"an unknown status is switched off", u"9", u"64", u"Disable", {"SetWL_WEPStatus(1)"}},
      {"absent too", nullptr, u"64", u"Disable", {"SetWL_WEPStatus(1)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry.DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(1));
    if (c.status) Store(key::WEPStatus, c.status);
    Store(key::WEPKeyLength, c.bits);
    driver.ClearCalls();
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue3), c.shown); });
    EXPECT_EQ(driver.Calls("SetWL_WEP"), c.pushes);
    // The key length is only read.
    EXPECT_EQ(store.ReadSettingString(key::WEPKeyLength), c.bits);
  }
}

TEST_F(AccessPointPanelTest, TransmitPowerLevelIsRepairedEvenWhenTheDriverRefuses) {
  const FieldCase cases[] = {
      {"level 0", u"0", u"Level 0", {}, u"0"},
      {"level 3", u"3", u"Level 3", {}, u"3"},
      {"above 3", u"4", u"Level 0", {"SetWLAP_TxPowerLevel(0)"}, u"0"},
      {"absent", std::nullopt, u"Level 0", {"SetWLAP_TxPowerLevel(0)"}, u"0"},
  };
  driver.Answer("SetWLAP_TxPowerLevel", -1);
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.name);
    (void)registry.DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(1));
    if (c.stored) Store(key::TxPowerLevel, *c.stored);
    driver.ClearCalls();
    Refresh([&](Dialog& d) { EXPECT_EQ(d.GetText(id::PanelValue4), c.shown); });
    EXPECT_EQ(driver.Calls("SetWLAP_TxPowerLevel"), c.pushes);
    EXPECT_EQ(store.ReadSettingString(key::TxPowerLevel), c.storedAfter.value_or(u""));
  }
}

TEST_F(AccessPointPanelTest, StationListShowsTheEntriesInUseInOrder) {
  std::vector<std::uint8_t> list(VZ_MAC_LIST_SIZE, 0);
  const std::uint8_t first[] = {1, 0x02, 0x5A, 0x5A, 0x00, 0x00, 0x11};
  const std::uint8_t fifth[] = {7, 0x00, 0x0b, 0xFF, 0x10, 0xa0, 0x01};  // any nonzero in-use byte
  const std::uint8_t unused[] = {0, 0x02, 0x00, 0x00, 0x00, 0x00, 0x09};
  std::copy(std::begin(first), std::end(first), list.begin());
  std::copy(std::begin(unused), std::end(unused), list.begin() + 2 * VZ_MAC_LIST_ENTRY_SIZE);
  std::copy(std::begin(fifth), std::end(fifth), list.begin() + 5 * VZ_MAC_LIST_ENTRY_SIZE);
  RunInDialog([&](Dialog& d) {
    AccessPointPanel panel(d, {driver, handle, store, radio}, language);
    d.ListInsertItem(id::List, 0, u"old row");

    driver.AnswerNext("WL_RetrieveStationList", -1);
    panel.RefreshStationList();
    EXPECT_EQ(d.ListItemCount(id::List), 1) << "a failed query keeps the rows";

    driver.AnswerNext("WL_RetrieveStationList", 0, list);
    panel.RefreshStationList();
    std::vector<std::u16string> rows;
    for (int row = 0; row < d.ListItemCount(id::List); ++row) {
      rows.push_back(d.ListItemText(id::List, row, 0));
    }
    EXPECT_THAT(rows, ElementsAre(u"02 5A 5A 00 00 11", u"00 0B FF 10 A0 01"));

    driver.AnswerNext("WL_RetrieveStationList", 0, std::vector<std::uint8_t>(VZ_MAC_LIST_SIZE, 0));
    panel.RefreshStationList();
    EXPECT_EQ(d.ListItemCount(id::List), 0);
  });
}

}  // namespace
}  // namespace ui::testing
