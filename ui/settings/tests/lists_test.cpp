// The channel and transmit-rate lists: what the driver's reports and the fallbacks offer on each
// band, the rate texts, and which entry a stored value selects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "adapter/testing/recording_adapter.h"
#include "config/setting_keys.h"
#include "platform/registry/memory_registry.h"
#include "platform/window/headless/scripted_driver.h"
#include "ui/settings/channel_list.h"
#include "ui/settings/rate_list.h"

namespace ui::settings {
namespace {

using platform::window::Dialog;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

constexpr int kTemplate = 9001, kBox = 1014;

Bytes Range(int first, int last) {
  Bytes bytes(static_cast<std::size_t>(last - first + 1));
  std::iota(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(first));
  return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Offered(const SupportedRates& rates) {
  return Bytes(rates.begin(), std::find(rates.begin(), rates.end(), 0));
}

TEST(ChannelList, ChannelsOfEachBand) {
  const Bytes split = Concat({Range(1, 11), {0xFF, 36, 40}});
  const Bytes withoutSeparator = Range(1, 13);
  const Bytes twoSeparators = {0xFF, 36, 0xFF, 40};
  const Bytes fallback5 = {8,   12,  16,  34,  36,  38,  40,  42,  44,  46,  48,  52,
                           56,  60,  64,  100, 104, 108, 112, 116, 120, 124, 128, 132,
                           136, 140, 149, 153, 157, 161, 184, 188, 192, 196};
  const struct {
    const Bytes* report;  // null: the driver refused
    ListBand band;
    Bytes expected;
  } cases[] = {
      {&split, ListBand::TwoPointFour, Range(1, 11)},
      {&split, ListBand::Five, {36, 40}},
      {&split, ListBand::None, {}},
      {&withoutSeparator, ListBand::TwoPointFour, Range(1, 13)},
      {&withoutSeparator, ListBand::Five, {}},
      {&twoSeparators, ListBand::TwoPointFour, {}},
      {&twoSeparators, ListBand::Five, {36, 40}},
      {nullptr, ListBand::TwoPointFour, Range(1, 14)},
      {nullptr, ListBand::Five, fallback5},
      {nullptr, ListBand::None, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(&c - cases));
    std::optional<std::span<const std::uint8_t>> report;
    if (c.report) report = *c.report;
    EXPECT_EQ(ChannelsOfBand(c.band, report), c.expected);
  }
}

TEST(RateList, RatesOfferedByBandAndAdHocMode) {
  const Bytes report = {0x82, 0x84, 0x8B, 0x96, 12, 18, 0, 24};
  constexpr int kAdHoc = config::network_type::AdHoc;
  constexpr int kInfra = config::network_type::Infrastructure;
  const struct {
    ListBand band;
    int networkType;
    int adhocMode;
    Bytes expected;
  } cases[] = {
      {ListBand::TwoPointFour, kInfra, 0, {2, 4, 11, 22, 12, 18}},  // mode counts in ad hoc only
      {ListBand::Five, kInfra, 1, {12, 18}},
      {ListBand::None, kInfra, 1, {}},
      {ListBand::TwoPointFour, kAdHoc, adhoc_rates::OnlyB, {2, 4, 11, 22}},
      {ListBand::TwoPointFour, kAdHoc, adhoc_rates::All, {2, 4, 11, 22, 12, 18}},
      {ListBand::TwoPointFour, kAdHoc, adhoc_rates::NoB, {12, 18}},
      {ListBand::TwoPointFour, kAdHoc, -1, {}},
      {ListBand::Five, kAdHoc, adhoc_rates::OnlyB, {12, 18}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(&c - cases));
    EXPECT_EQ(Offered(OfferedRates(report, c.band, c.networkType, c.adhocMode)), c.expected);
  }
  // At most 16 rates, however long the report.
  EXPECT_EQ(Offered(OfferedRates(Range(1, 20), ListBand::TwoPointFour, kInfra, 1)), Range(1, 16));
}

TEST(RateList, RateTexts) {
  const struct {
    std::uint8_t rate;
    std::u16string text;
  } cases[] = {{2, u"1 Mbps"}, {11, u"5.5 Mbps"}, {22, u"11 Mbps"}, {12, u"6 Mbps"},
               {18, u"9 Mbps"}, {108, u"54 Mbps"}, {127, u"63.5 Mbps"}};
  for (const auto& c : cases) EXPECT_EQ(RateText(c.rate, u"Mbps"), c.text);
}

TEST(RateList, StoredSetSelectsItsOneOfferedRateOrAuto) {
  const SupportedRates offered{2, 4, 11, 22, 12, 18};
  const struct {
    Bytes stored;
    int entry;
  } cases[] = {
      {{2, 4, 11, 22, 12, 18}, 0},  // the whole list: automatic
      {{22}, 4},
      {{48, 22}, 4},
      {{48, 96}, 0},                // nothing offered
      {{}, 0},
      {{0, 22}, 0},                 // the set ends at its first 0
      {{0x96}, 0},                  // basic-rate bit set: not an offered rate
      {{2, 12}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(&c - cases));
    EXPECT_EQ(RateEntryForStoredSet(c.stored, offered), c.entry);
  }
  EXPECT_EQ(StoredRateSet(u"16 0C  zz"), (std::array<std::uint8_t, 16>{22, 12}));
}

// The boxes filled on a dialog, from a recording driver.
class ListBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    platform::window::DialogTemplate t;
    t.id = kTemplate;
    t.width = 100;
    t.height = 40;
    t.controls = {{kBox, platform::window::ControlKind::DropDownList, {5, 5, 60, 80}, {}, 0, 0, 0}};
    platform::window::TemplateRegistry::Instance().Add(t);
  }
  void InDialog(const std::function<void(Dialog&)>& body) {
    platform::window::headless::ScriptedSession session(clock);
    bool ran = false;
    session.driver.OnOpen(kTemplate, [&](Dialog& d) {
      body(d);
      ran = true;
    });
    Dialog dialog(kTemplate);
    dialog.DoModal();
    ASSERT_TRUE(ran);
  }
  static std::vector<std::u16string> Items(const Dialog& d) { return d.Control(kBox)->items; }
  RateBoxSources Sources() { return {driver, handle, store, language}; }

  platform::VirtualClock clock;
  adapter::testing::RecordingAdapterLibrary driver;
  adapter::AdapterHandle handle{adapter::testing::RecordingAdapterLibrary::kOpenHandle, {}, {}, {}};
  platform::MemoryRegistry registry;
  config::SettingStore store{registry};
  lang::CMultiLanguage language;  // no file: built-in texts
};

TEST_F(ListBoxTest, ChannelBoxSelectsTheCurrentChannelOrTheFirst) {
  driver.Answer("QueryWL_SupportChannel", 0);
  driver.AnswerBytes("QueryWL_SupportChannel", Concat({Range(1, 11), {0xFF, 36, 40}}));
  driver.AnswerNext("QueryWL_Channel", 40);
  driver.AnswerNext("QueryWL_Channel", 12);
  InDialog([&](Dialog& d) {
    ChannelList list;
    FillChannelBox(d, kBox, ListBand::Five, driver, handle, list);
    EXPECT_THAT(Items(d), ElementsAre(u"36", u"40"));
    EXPECT_EQ(d.ComboSelection(kBox), 1);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.channels[1], 40);

    FillChannelBox(d, kBox, ListBand::TwoPointFour, driver, handle, list);
    EXPECT_EQ(Items(d).size(), 11u);
    EXPECT_EQ(d.ComboSelection(kBox), 0);  // channel 12 is not offered
    EXPECT_EQ(list.count, 11);
  });
  EXPECT_THAT(driver.Calls("QueryWL_SupportChannel"),
              ::testing::Each(::testing::Eq("QueryWL_SupportChannel(100)")));
}

TEST_F(ListBoxTest, ChannelBoxFallsBackWhenRefusedAndNeverTrustsAnOverstatedCount) {
  InDialog([&](Dialog& d) {
    ChannelList list;
    FillChannelBox(d, kBox, ListBand::Five, driver, handle, list);  // every query refused
    EXPECT_EQ(list.count, 34);
    EXPECT_EQ(Items(d).front(), u"8");
    EXPECT_EQ(Items(d).back(), u"196");
    EXPECT_EQ(d.ComboSelection(kBox), 0);

    driver.Answer("QueryWL_SupportChannel", 0);
    driver.AnswerBytes("QueryWL_SupportChannel", Bytes(150, 6));  // claims 150 entries
    FillChannelBox(d, kBox, ListBand::TwoPointFour, driver, handle, list);
    EXPECT_EQ(list.count, 100);
  });
}

TEST_F(ListBoxTest, RateBoxAsksTheDriverAndSelectsTheStoredRate) {
  driver.Answer("QueryWL_UISupportTxRate", 0);
  driver.AnswerBytes("QueryWL_UISupportTxRate", {0x82, 0x84, 0x8B, 0x96, 12, 18});
  ASSERT_EQ(store.WriteSetting(config::key::DesiredRate, u"0B 00"), 0);
  InDialog([&](Dialog& d) {
    SupportedRates rates;
    FillRateBox(d, kBox, ListBand::TwoPointFour, config::network_type::Infrastructure, Sources(),
                rates);
    EXPECT_THAT(Items(d), ElementsAre(u"Auto", u"1 Mbps", u"2 Mbps", u"5.5 Mbps", u"11 Mbps",
                                      u"6 Mbps", u"9 Mbps"));
    EXPECT_EQ(d.ComboSelection(kBox), 3);
    EXPECT_EQ(Offered(rates), (Bytes{2, 4, 11, 22, 12, 18}));

    FillRateBox(d, kBox, ListBand::Five, config::network_type::Infrastructure, Sources(), rates);
    EXPECT_THAT(Items(d), ElementsAre(u"Auto", u"6 Mbps", u"9 Mbps"));
    EXPECT_EQ(d.ComboSelection(kBox), 0);
  });
  EXPECT_THAT(driver.Calls("QueryWL_"), ElementsAre("QueryWL_UISupportTxRate(16)",
                                                     "QueryWL_UISupportTxRate(16)"));
}

TEST_F(ListBoxTest, RateBoxFallsBackToTheSupportedSetAndAsksTheAdHocMode) {
  driver.Answer("QueryWL_UISupportTxRate", 1);
  driver.AnswerBytes("QueryWL_SupportedRate", {0x82, 0x84, 0x8B, 0x96, 0x0C});
  driver.AnswerNext("QueryWL_SupportedRate", 0);
  driver.Answer("QueryWL_QVAdhocMode", adhoc_rates::OnlyB);
  InDialog([&](Dialog& d) {
    SupportedRates rates;
    FillRateBox(d, kBox, ListBand::TwoPointFour, config::network_type::AdHoc, Sources(), rates);
    EXPECT_THAT(Items(d), ElementsAre(u"Auto", u"1 Mbps", u"2 Mbps", u"5.5 Mbps", u"11 Mbps"));
    // Both refused: only "Auto".
    FillRateBox(d, kBox, ListBand::TwoPointFour, config::network_type::AdHoc, Sources(), rates);
    EXPECT_THAT(Items(d), ElementsAre(u"Auto"));
    EXPECT_THAT(Offered(rates), IsEmpty());
  });
  EXPECT_THAT(driver.Calls("QueryWL_"),
              ElementsAre("QueryWL_QVAdhocMode()", "QueryWL_UISupportTxRate(16)",
                          "QueryWL_SupportedRate()", "QueryWL_QVAdhocMode()",
                          "QueryWL_UISupportTxRate(16)", "QueryWL_SupportedRate()"));
}

}  // namespace
}  // namespace ui::settings
