// The survey buffer read back the way the program reads it: fixed offsets, entry lengths, and the
// element walk from entry offset 128.

#include <gtest/gtest.h>

#include <map>

#include "libs/vuzoza/sim/elements.h"
#include "libs/vuzoza/sim/radio.h"
#include "libs/vuzoza/tests/sim_fixture.h"

namespace vuzoza::testing {
namespace {

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

struct Entry {
  Mac bssid{};
  Bytes ssid;
  std::uint32_t privacy = 0;
  int rssi = 0;
  std::uint32_t phy = 0;
  std::uint32_t khz = 0;
  std::uint32_t infrastructure = 0;
  std::map<int, Bytes> elements;  // id -> whole element (id, length, body)
  std::vector<int> order;
  // The connect procedure's element scan.
  bool wpa = false, rsn = false;
  int pairwise = -1, akm = -1;
};

std::vector<Entry> Walk(const Bytes& buf) {
  std::vector<Entry> out;
  const std::uint32_t count = U32(buf, 0);
  std::size_t at = 4;
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::uint32_t length = U32(buf, at);
    EXPECT_EQ(length % 4, 0u);
    EXPECT_LE(at + length, buf.size());
    const Bytes e(buf.begin() + at, buf.begin() + at + length);
    Entry x;
    std::copy_n(e.begin() + 4, 6, x.bssid.begin());
    const std::uint32_t ssidLen = U32(e, 12);
    EXPECT_LE(ssidLen, 32u);
    x.ssid.assign(e.begin() + 16, e.begin() + 16 + ssidLen);
    x.privacy = U32(e, 48);
    x.rssi = static_cast<std::int32_t>(U32(e, 52));
    x.phy = U32(e, 56);
    x.khz = U32(e, 72);
    x.infrastructure = U32(e, 92);
    const std::uint32_t ieLength = U32(e, 112);
    EXPECT_GE(ieLength, 12u);
    EXPECT_LE(128 + ieLength - 12, length);
    EXPECT_GT(128 + ieLength - 12 + 4, length) << "padding beyond alignment";
    std::size_t p = 128;
    int left = static_cast<int>(ieLength) - 12;
    while (left > 0) {
      const int id = e[p], len = e[p + 1];
      x.elements[id] = Bytes(e.begin() + p, e.begin() + p + 2 + len);
      x.order.push_back(id);
      const Bytes el = x.elements[id];
      if (id == 221 && len >= 22 && !x.rsn) {
        x.wpa = true;
        const int n = el[12] | el[13] << 8;
        x.pairwise = el[17];
        x.akm = el[19 + 4 * n];
      }
      if (id == 48) {
        x.rsn = true;
        const int n = el[8] | el[9] << 8;
        x.pairwise = el[13];
        x.akm = el[15 + 4 * n];
      }
      p += len + 2;
      left -= len + 2;
    }
    EXPECT_EQ(left, 0);
    out.push_back(x);
    at += length;
  }
  EXPECT_EQ(at, buf.size());
  return out;
}

class SurveyTest : public WorldTest {
 protected:
  std::vector<Entry> Survey() {
    Bytes buf;
    EXPECT_EQ(world->GetSurvey(kUsbAdapter, 12004, buf), 0);
    return Walk(buf);
  }
};

TEST_F(SurveyTest, ResultsAppearOnlyAfterTheScanTime) {
  LoadDefault();
  ASSERT_EQ(world->StartSurvey(kUsbAdapter), 0);
  Wait(kScanMs - 1);
  EXPECT_TRUE(Survey().empty());
  Wait(1);
  EXPECT_EQ(Survey().size(), world->scenario().networks.size());
}

TEST_F(SurveyTest, EntriesCarryEveryFieldAtItsOffset) {
  LoadDefault();
  ASSERT_EQ(world->StartSurvey(kUsbAdapter), 0);
  Wait(kScanMs);
  const auto entries = Survey();
  const auto& networks = world->scenario().networks;
  ASSERT_EQ(entries.size(), networks.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    const NetworkSpec& n = networks[i];
    SCOPED_TRACE(std::string(n.ssid.begin(), n.ssid.end()));
    EXPECT_EQ(e.bssid, n.bssid);
    EXPECT_EQ(e.ssid, n.hidden ? Bytes{} : n.ssid);
    EXPECT_EQ(e.privacy != 0, n.security != Security::Open);
    EXPECT_NEAR(e.rssi, n.signal.front().dbm, n.signalSwing + 1);
    EXPECT_EQ(e.phy, static_cast<std::uint32_t>(n.phyType));
    EXPECT_EQ(e.khz, ChannelToKhz(n.channel));
    EXPECT_EQ(e.infrastructure, n.adhoc ? 0u : 1u);
    ASSERT_TRUE(e.elements.count(kElementSsid));
    EXPECT_EQ(e.order.front(), kElementSsid);
    EXPECT_EQ(Bytes(e.elements.at(kElementSsid).begin() + 2, e.elements.at(kElementSsid).end()), e.ssid);
    ASSERT_TRUE(e.elements.count(kElementRates));
    EXPECT_EQ(e.elements.at(kElementDsParameters), (Bytes{3, 1, static_cast<std::uint8_t>(n.channel)}));
    EXPECT_EQ(e.elements.count(kElementIbssParameters), n.adhoc ? 1u : 0u);
  }
}

TEST_F(SurveyTest, SecurityElementsGiveTheConnectProcedureItsCiphers) {
  LoadDefault();
  ASSERT_EQ(world->StartSurvey(kUsbAdapter), 0);
  Wait(kScanMs);
  struct Case {
    const char* ssid;
    bool wpa, rsn;
    int pairwise, akm;
  } cases[] = {
      {"Harbor-Open", false, false, -1, -1},   {"Lab-WEP64", false, false, -1, -1},
      {"Cafe-WPA-TKIP", true, false, 2, 2},    {"Home-WPA2", false, true, 4, 2},
      {"Office-Mixed", false, true, 4, 2},     {"Corp-Enterprise", false, true, 4, 1},
  };
  const auto entries = Survey();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ssid);
    auto it = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.ssid == Text(c.ssid); });
    ASSERT_NE(it, entries.end());
    EXPECT_EQ(it->wpa, c.wpa);
    EXPECT_EQ(it->rsn, c.rsn);
    EXPECT_EQ(it->pairwise, c.pairwise);
    EXPECT_EQ(it->akm, c.akm);
  }
  // The mixed network carries both elements, RSN first, and the vendor element is the WPA one.
  auto mixed = std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return e.ssid == Text("Office-Mixed"); });
  ASSERT_NE(mixed, entries.end());
  const Bytes& wpa = mixed->elements.at(kElementVendor);
  EXPECT_EQ(Bytes(wpa.begin() + 2, wpa.begin() + 6), (Bytes{0x00, 0x50, 0xF2, 0x01}));
  EXPECT_EQ(wpa[12], 2);  // TKIP and CCMP offered
  EXPECT_LT(std::find(mixed->order.begin(), mixed->order.end(), kElementRsn),
            std::find(mixed->order.begin(), mixed->order.end(), kElementVendor));
}

TEST_F(SurveyTest, ScanCoversOnlyChannelsTheAdapterSupports) {
  Load(R"({"adapters":[{"name":"{6F1C2A10-7100-4D5A-9E11-00000000A001}","instance":"0007",
       "mac":"02:5A:71:00:00:01","bands":"both","channels":[1,6,14],"channels5":[36]}],
     "networks":[{"bssid":"02:00:00:00:00:01","channel":14,"phy":"b"},
                 {"bssid":"02:00:00:00:00:02","channel":36},
                 {"bssid":"02:00:00:00:00:03","channel":11},
                 {"bssid":"02:00:00:00:00:04","channel":6,"signal":-110}]})");
  ASSERT_EQ(world->StartSurvey(kUsbAdapter), 0);
  Wait(kScanMs);
  const auto entries = Survey();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].khz, 2'484'000u);
  EXPECT_EQ(entries[0].phy, 1u);
  EXPECT_EQ(entries[1].khz, 5'180'000u);
  EXPECT_EQ(entries[1].phy, 2u);
}

TEST_F(SurveyTest, SmallBufferGetsOnlyWholeEntries) {
  LoadDefault();
  ASSERT_EQ(world->StartSurvey(kUsbAdapter), 0);
  Wait(kScanMs);
  Bytes full;
  ASSERT_EQ(world->GetSurvey(kUsbAdapter, 12004, full), 0);
  const std::uint32_t first = U32(full, 4);
  Bytes part;
  ASSERT_EQ(world->GetSurvey(kUsbAdapter, 4 + first + 10, part), 0);
  EXPECT_EQ(U32(part, 0), 1u);
  EXPECT_EQ(part.size(), 4 + first);
  EXPECT_EQ(world->GetSurvey(kUsbAdapter, 3, part), -1);
}

}  // namespace
}  // namespace vuzoza::testing
