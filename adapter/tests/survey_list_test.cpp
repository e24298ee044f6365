// Reading the driver's survey buffer: fields of each entry, and buffers whose counts and lengths
// disagree with their bytes. Each buffer is exactly as long as its bytes, so a read past them
// shows under the address sanitizer.
#include "adapter/survey_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "adapter/testing/survey_builder.h"

namespace adapter {
namespace {

using testing::PutU32;
using testing::SurveyBufferBytes;
using testing::SurveyEntryFields;

std::string Text(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

SurveyEntryFields Named(std::string ssid, std::uint8_t last) {
  SurveyEntryFields fields;
  fields.ssid = std::move(ssid);
  fields.bssid[5] = last;
  return fields;
}

TEST(SurveyListTest, ReadsEveryFieldInDriverOrder) {
  SurveyEntryFields wpa2;
  wpa2.bssid = {0x02, 0x5A, 0xA0, 0x00, 0x00, 0x05};
  wpa2.ssid = "Home-WPA2";
  wpa2.privacy = 1;
  wpa2.signalDbm = -58;
  wpa2.networkTypeInUse = 3;
  wpa2.frequencyKhz = 2'452'000;
  wpa2.infrastructureMode = 1;
  wpa2.elements = {0x30, 0x02, 0x01, 0x00, 0xDD, 0x00, 0x07};  // 7 bytes: padded to 136
  SurveyEntryFields adhoc = Named("", 8);
  adhoc.infrastructureMode = 0;
  adhoc.signalDbm = -65;
  const std::vector<std::uint8_t> buffer = SurveyBufferBytes({wpa2, adhoc});

  const std::vector<SurveyEntry> entries = ReadSurveyList(buffer);
  ASSERT_EQ(entries.size(), 2u);
  const SurveyEntry& e = entries[0];
  EXPECT_THAT(e.bssid, ::testing::ElementsAre(0x02, 0x5A, 0xA0, 0x00, 0x00, 0x05));
  EXPECT_EQ(Text(e.ssid), "Home-WPA2");
  EXPECT_EQ(e.privacy, 1u);
  EXPECT_EQ(e.signalDbm, -58);
  EXPECT_EQ(e.networkTypeInUse, 3u);
  EXPECT_EQ(e.frequencyKhz, 2'452'000u);
  EXPECT_EQ(e.infrastructureMode, 1u);
  EXPECT_THAT(e.informationElements, ::testing::ElementsAreArray(wpa2.elements));
  EXPECT_TRUE(entries[1].ssid.empty());
  EXPECT_EQ(entries[1].infrastructureMode, 0u);
  EXPECT_EQ(entries[1].signalDbm, -65);
  EXPECT_TRUE(entries[1].informationElements.empty());
}

struct MalformedCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> buffer;
  std::vector<std::string> ssids;  // of the entries read
};

// Offset of the second entry of a buffer of two plain entries.
constexpr std::size_t kSecond = 4 + VZ_SURVEY_ENTRY_FIXED_SIZE;

std::vector<std::uint8_t> TwoEntries() { return SurveyBufferBytes({Named("A", 1), Named("B", 2)}); }

TEST(SurveyListTest, MalformedBuffersStopOrClampWithinTheBytes) {
  const MalformedCase cases[] = {
      {"empty", [] { return std::vector<std::uint8_t>(); }, {}},
      {"shorter than the count", [] { return std::vector<std::uint8_t>{2, 0, 0}; }, {}},
      {"count 0", [] {
         auto b = TwoEntries();
         PutU32(b, 0, 0);
         return b;
       }, {}},
      {"count below the entries", [] {
         auto b = TwoEntries();
         PutU32(b, 0, 1);
         return b;
       }, {"A"}},
      {"count above the entries, zeros after", [] {
         auto b = TwoEntries();
         PutU32(b, 0, 5);
         b.resize(VZ_SURVEY_BUFFER_SIZE, 0);
         return b;
       }, {"A", "B"}},
      {"largest count, buffer ends after the entries", [] {
         auto b = TwoEntries();
         PutU32(b, 0, 0xFFFFFFFF);
         return b;
       }, {"A", "B"}},
      {"first length 0", [] {
         auto b = TwoEntries();
         PutU32(b, 4, 0);
         return b;
       }, {}},
      {"length shorter than the fixed part", [] {
         auto b = TwoEntries();
         PutU32(b, kSecond, 100);
         return b;
       }, {"A"}},
      {"length past the end", [] {
         auto b = TwoEntries();
         PutU32(b, kSecond, VZ_SURVEY_ENTRY_FIXED_SIZE + 4);
         return b;
       }, {"A"}},
      {"huge length", [] {
         auto b = TwoEntries();
         PutU32(b, 4, 0xFFFFFFF0);
         return b;
       }, {}},
      {"buffer cut inside the second entry", [] {
         auto b = TwoEntries();
         b.resize(kSecond + 60);
         return b;
       }, {"A"}},
      {"SSID length above 32", [] {
         auto b = SurveyBufferBytes({Named(std::string(32, 's'), 1)});
         PutU32(b, 4 + 12, 0xFFFFFFFF);
         return b;
       }, {std::string(32, 's')}},
      {"buffer of 12004 bytes filled with entries", [] {
         std::vector<SurveyEntryFields> networks;
         for (int i = 0; i < 93; ++i) networks.push_back(Named("N", static_cast<std::uint8_t>(i)));
         auto b = SurveyBufferBytes(networks);  // 4 + 93 * 128 = 11908 bytes
         PutU32(b, 0, 94);
         b.resize(VZ_SURVEY_BUFFER_SIZE, 0xFF);  // a 96-byte tail that claims an entry
         return b;
       }, std::vector<std::string>(93, "N")},
  };
  for (const MalformedCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> buffer = c.buffer();
    std::vector<std::string> ssids;
    for (const SurveyEntry& e : ReadSurveyList(buffer)) ssids.push_back(Text(e.ssid));
    EXPECT_EQ(ssids, c.ssids);
  }
}

TEST(SurveyListTest, ElementSpanStaysInsideItsEntry) {
  const struct {
    const char* name;
    std::uint32_t elementsLength;  // the entry's field, 12 fixed bytes included
    std::size_t expected;
  } cases[] = {
      {"as written", 12 + 8, 8},
      {"below the fixed bytes", 4, 0},
      {"only the fixed bytes", 12, 0},
      {"past the entry", 12 + 500, 8},  // the entry holds 8 element bytes
      {"largest", 0xFFFFFFFF, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SurveyEntryFields fields = Named("E", 1);
    fields.elements = {0, 2, 'E', 'x', 1, 2, 0x82, 0x84};
    auto b = SurveyBufferBytes({fields, Named("F", 2)});
    PutU32(b, 4 + 112, c.elementsLength);
    const std::vector<SurveyEntry> entries = ReadSurveyList(b);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].informationElements.size(), c.expected);
    EXPECT_EQ(Text(entries[1].ssid), "F");
  }
}

}  // namespace
}  // namespace adapter
