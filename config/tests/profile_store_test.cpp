#include "config/profile_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/setting_keys.h"
#include "config/tests/applier_fixture.h"

namespace config {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Names = std::vector<std::u16string>;

class ProfileStoreTest : public ::testing::Test, protected testing::ApplierFixture {
 protected:
  std::u16string KeyOf(std::u16string_view name) const {
    return store.ApplicationKey() + u"\\Profile\\" + std::u16string(name);
  }
  std::u16string Link(std::u16string_view name) const {
    platform::RegValue value;
    const std::u16string path = name.empty() ? store.ApplicationKey() : KeyOf(name);
    (void)registry->GetValue(platform::RegRoot::CurrentUser, path, u"ProfileLink", value);
    return RegistryValueAsText(value);
  }
  bool KeyExists(std::u16string_view name) const {
    return registry->OpenKey(platform::RegRoot::CurrentUser, KeyOf(name)) ==
           platform::RegStatus::Ok;
  }
  // A chain written as a person editing the store might leave it: first -> links[0] -> ...
  void HandMadeChain(std::u16string_view first,
                     std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>
                         links) {
    (void)store.WriteAppText(u"ProfileLink", first);
    for (const auto& [from, to] : links) {
      (void)registry->SetValue(platform::RegRoot::CurrentUser, KeyOf(from), u"ProfileLink",
                               platform::RegValue::Text(std::u16string(to)));
    }
  }
  void AddAll(std::initializer_list<std::u16string_view> names) {
    for (auto name : names) ASSERT_EQ(profiles.AddProfile(name), 0);
  }

  ProfileStore profiles{store};
};

TEST_F(ProfileStoreTest, ListsInOrderOfCreationWithNamesAsTyped) {
  EXPECT_THAT(profiles.ProfileNames(), IsEmpty());
  EXPECT_EQ(profiles.FirstProfile(), -1);
  AddAll({u"Home", u" Office ", u"caf\u00E9"});
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"Home", u" Office ", u"caf\u00E9"));
  EXPECT_EQ(Link(u""), u"Home");
  EXPECT_EQ(Link(u"Home"), u" Office ");
  EXPECT_EQ(Link(u"caf\u00E9"), u"");
  EXPECT_TRUE(KeyExists(u" Office "));
}

TEST_F(ProfileStoreTest, NamesCompareTrimmedAndWithoutLetterCase) {
  AddAll({u"Home", u"Office"});
  for (std::u16string_view typed : {u"home", u"  HOME\t", u"\r\nhOmE "}) {
    ASSERT_EQ(profiles.FindProfile(typed), 0);
    EXPECT_EQ(profiles.Cursor(), u"Home");
  }
  EXPECT_EQ(profiles.AddProfile(u" OFFICE"), -1);
  EXPECT_EQ(profiles.FindProfile(u"Hom"), -1);
  EXPECT_EQ(profiles.Cursor(), u"");
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"Home", u"Office"));
}

TEST_F(ProfileStoreTest, RefusesBlankNamesAndNamesThatWouldAddressADeeperKey) {
  AddAll({u"Home"});
  for (std::u16string_view name : {u"", u" \t ", u"Home\\Sub", u"\\", u"a\\b"}) {
    EXPECT_EQ(profiles.AddProfile(name), -1) << platform::ToUtf8(name);
    EXPECT_FALSE(IsStorableProfileName(name));
  }
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"Home"));
  std::vector<std::u16string> below;
  (void)registry->EnumSubkeys(platform::RegRoot::CurrentUser, KeyOf(u"Home"), below);
  EXPECT_THAT(below, IsEmpty());
}

TEST_F(ProfileStoreTest, DeleteLinksTheNeighbours) {
  const struct {
    std::u16string_view deleted;
    Names left;
  } cases[] = {
      {u"one", {u"two", u"three"}},
      {u"TWO ", {u"one", u"three"}},
      {u"three", {u"one", u"two"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.deleted));
    (void)registry->DeleteKey(platform::RegRoot::CurrentUser, store.ApplicationKey());
    AddAll({u"one", u"two", u"three"});
    (void)profiles.FindProfile(u"two");
    ASSERT_EQ(profiles.WriteNumber(key::Channel, 11), 0);
    ASSERT_EQ(profiles.DeleteProfile(c.deleted), 0);
    EXPECT_FALSE(KeyExists(platform::Trim(c.deleted)));
    EXPECT_EQ(profiles.ProfileNames(), c.left);
    EXPECT_EQ(Link(c.left.back()), u"");
  }
  EXPECT_EQ(profiles.DeleteProfile(u"nobody"), -1);
  ASSERT_EQ(profiles.DeleteProfile(u"one"), 0);
  ASSERT_EQ(profiles.DeleteProfile(u"two"), 0);
  EXPECT_EQ(Link(u""), u"");
  EXPECT_EQ(profiles.DeleteProfile(u"two"), -1);
}

// A damaged or hand-edited store: links that come back round must end every walk.
TEST_F(ProfileStoreTest, CyclesInTheLinksEndEveryWalk) {
  HandMadeChain(u"A", {{u"A", u"B"}, {u"B", u"C"}, {u"C", u" a"}});
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"A", u"B", u"C"));
  EXPECT_EQ(profiles.FindProfile(u"missing"), -1);
  ASSERT_EQ(profiles.FindProfile(u"c"), 0);
  EXPECT_EQ(profiles.Cursor(), u"C");

  // Appending goes after the last profile walked, which also closes the loop.
  ASSERT_EQ(profiles.AddProfile(u"D"), 0);
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"A", u"B", u"C", u"D"));
  EXPECT_EQ(Link(u"D"), u"");

  // Deleting a profile whose link points back does not resurrect the loop.
  HandMadeChain(u"A", {{u"A", u"B"}, {u"B", u"A"}});
  ASSERT_EQ(profiles.DeleteProfile(u"B"), 0);
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"A"));
  HandMadeChain(u"A", {{u"A", u"B"}, {u"B", u"A"}});
  ASSERT_EQ(profiles.DeleteProfile(u"A"), 0);
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"B"));
  HandMadeChain(u"B", {{u"B", u"B"}});
  ASSERT_EQ(profiles.DeleteProfile(u"B"), 0);
  EXPECT_THAT(profiles.ProfileNames(), IsEmpty());
}

TEST_F(ProfileStoreTest, ALinkToANameWithoutAKeyEndsTheList) {
  HandMadeChain(u"A", {{u"A", u"gone"}});
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"A"));
  EXPECT_EQ(profiles.FindProfile(u"gone"), -1);
  HandMadeChain(u"gone", {});
  EXPECT_THAT(profiles.ProfileNames(), IsEmpty());
}

TEST_F(ProfileStoreTest, ANewProfileDoesNotInheritALeftoverKeyOfItsName) {
  HandMadeChain(u"A", {{u"A", u""}, {u"Stale", u"A"}});
  (void)registry->SetValue(platform::RegRoot::CurrentUser, KeyOf(u"Stale"), key::SSID,
                           platform::RegValue::Text(u"old"));
  ASSERT_EQ(profiles.AddProfile(u"stale"), 0);
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"A", u"stale"));
  ASSERT_EQ(profiles.FindProfile(u"stale"), 0);
  EXPECT_EQ(profiles.ReadText(key::SSID), u"");
}

TEST_F(ProfileStoreTest, FieldsReadAbsentAsEmptyAndMinusOne) {
  AddAll({u"Home"});
  ASSERT_EQ(profiles.FindProfile(u"Home"), 0);
  EXPECT_EQ(profiles.ReadText(key::SSID), u"");
  EXPECT_EQ(profiles.ReadNumber(key::Channel), -1);
  ASSERT_EQ(profiles.WriteNumber(key::Channel, -1), 0);
  EXPECT_EQ(profiles.ReadNumber(key::Channel), -1);
  ASSERT_EQ(profiles.WriteText(key::NetworkType, u" 3x"), 0);  // a hand-typed text value
  EXPECT_EQ(profiles.ReadNumber(key::NetworkType), 3);
  platform::RegValue value;
  (void)profiles.WriteNumber(key::WEPStatus, 6);
  ASSERT_EQ(registry->GetValue(platform::RegRoot::CurrentUser, KeyOf(u"Home"), key::WEPStatus,
                               value),
            platform::RegStatus::Ok);
  EXPECT_EQ(value, platform::RegValue::Dword(6));
}

TEST_F(ProfileStoreTest, RecordRoundTripsAndEveryFieldIsWritten) {
  AddAll({u"Home"});
  ASSERT_EQ(profiles.FindProfile(u"Home"), 0);
  ProfileRecord written;
  written.ssid = u"Home-WPA2";
  written.wepKeyLength = 128;
  written.wepKeys = {u"00 11 22 33 44 55 66 77 88 99 AA BB CC", u"k1", u"k2", u"k3"};
  written.authenticationMode = 7;
  written.dot1xPassphrase = u"wpa2 pass phrase";
  written.dot1xRc4Wep = 0;
  ASSERT_EQ(profiles.WriteRecord(written), 0);
  ProfileRecord read;
  profiles.ReadRecord(read);
  EXPECT_EQ(read, written);
  EXPECT_EQ(profiles.ReadText(u"WEPKey128_0"), written.wepKeys[0]);

  // Saving again with empty texts must not leave the older ones behind.
  ProfileRecord emptied = written;
  emptied.ssid.clear();
  emptied.dot1xPassphrase.clear();
  ASSERT_EQ(profiles.WriteRecord(emptied), 0);
  profiles.ReadRecord(read);
  EXPECT_EQ(read.ssid, u"");
  EXPECT_EQ(read.dot1xPassphrase, u"");
}

TEST_F(ProfileStoreTest, ARefusedWriteLeavesTheProfileAsItWas) {
  AddAll({u"Home"});
  ASSERT_EQ(profiles.FindProfile(u"Home"), 0);
  ProfileRecord first;
  first.ssid = u"first";
  ASSERT_EQ(profiles.WriteRecord(first), 0);
  ProfileRecord second;
  second.ssid = u"second";
  second.channel = 11;
  registry->FailNextWrites(1);
  EXPECT_EQ(profiles.WriteRecord(second), -1);
  ProfileRecord read;
  profiles.ReadRecord(read);
  EXPECT_EQ(read, first);
}

}  // namespace
}  // namespace config
