// The built libdot1x_dll.so and libVUZOZA.so loaded the way the program loads them, driven the
// way the pre-shared-key worker drives them, against the simulated access point on a virtual
// clock.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/vuzoza/include/vuzoza.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kAdapter = "{6F1C2A10-7100-4D5A-9E11-00000000A001}";
constexpr std::int64_t kAssociationMs = 1500;
constexpr std::int64_t kRetransmitMs = 1000;
constexpr std::int64_t kSurveyMs = 2500;

std::int64_t g_now = 0;
std::int64_t VZ_CALL Now(void*) { return g_now; }
std::int64_t VZ_CALL Unix(void*) { return 1'700'000'000 + g_now / 1000; }
void VZ_CALL Sleep(void*, std::uint32_t ms) { g_now += ms; }

// Both libraries, resolved by their C names.
struct Libraries {
  void* adapterLibrary = nullptr;
  void* supplicantLibrary = nullptr;
  std::string error;

  template <typename F>
  F* Adapter(const char* name) const { return reinterpret_cast<F*>(dlsym(adapterLibrary, name)); }
  template <typename F>
  F* Supplicant(const char* name) const { return reinterpret_cast<F*>(dlsym(supplicantLibrary, name)); }

  static Libraries& Get() {
    static Libraries libraries = [] {
      Libraries l;
      const fs::path bin = DOT1X_BIN_DIR;
      // The adapter library first, from the program folder; the supplicant library finds that
      // same instance beside itself.
      l.adapterLibrary = dlopen((bin / "libVUZOZA.so").c_str(), RTLD_NOW | RTLD_LOCAL);
      if (l.adapterLibrary != nullptr) {
        l.supplicantLibrary = dlopen((bin / "libdot1x_dll.so").c_str(), RTLD_NOW | RTLD_LOCAL);
      }
      if (l.supplicantLibrary == nullptr) l.error = dlerror();
      return l;
    }();
    return libraries;
  }
};

#define VZ_FN(name) Libraries::Get().Adapter<decltype(::name)>(#name)
#define DOT1X_FN(name) Libraries::Get().Supplicant<decltype(::name)>(#name)

struct InstalledKey {
  int kind = 0;
  int index = 0;
  Bytes key;
  std::int64_t atMs = 0;
};

// What the program's callbacks do, with the adapter handle they use.
struct Station {
  VzAdapterHandle handle{};
  std::vector<InstalledKey> installs;
};
Station* g_station = nullptr;

Bytes ReadAssociationRequestElements() {
  std::uint8_t info[1000] = {};
  if (VZ_FN(ReadOid)(&g_station->handle, VZ_OID_ASSOCIATION_INFORMATION, info, sizeof info) != 0) return {};
  std::uint32_t begin = 0, end = 0;
  std::memcpy(&begin, info + 20, 4);
  std::memcpy(&end, info + 36, 4);
  if (begin > end || end > sizeof info) return {};
  return Bytes(info + begin, info + end);
}

void DOT1X_CALL ElementCallback(int32_t id, uint8_t* out) {
  const Bytes elements = ReadAssociationRequestElements();
  for (std::size_t at = 0; at + 2 <= elements.size() && at + 2 + elements[at + 1] <= elements.size();
       at += 2 + elements[at + 1]) {
    if (elements[at] != static_cast<std::uint8_t>(id)) continue;
    std::memcpy(out, &elements[at], 2 + elements[at + 1]);
    out[2 + elements[at + 1]] = 0;
  }
}

// Writes the key the way the program does: the NDIS key record, BSSID read at call time.
void DOT1X_CALL KeyCallback(const uint8_t* rsc, const uint8_t* key, int32_t length, int32_t index, int32_t kind) {
  g_station->installs.push_back({kind, index, Bytes(key, key + length), g_now});
  Bytes record(static_cast<std::size_t>(length) + 39, 0);
  const std::uint32_t words[3] = {static_cast<std::uint32_t>(record.size()),
                                  0x20000000u | (kind == 0 ? 0xC0000000u : static_cast<std::uint32_t>(index)),
                                  static_cast<std::uint32_t>(length)};
  std::memcpy(record.data(), words, sizeof words);
  VZ_FN(QueryWL_BSSID)(&g_station->handle, record.data() + 12);
  std::memcpy(record.data() + 24, rsc, 8);
  std::memcpy(record.data() + 32, key, static_cast<std::size_t>(length));
  VZ_FN(WriteOid)(&g_station->handle, VZ_OID_ADD_WPA_KEY, record.data(), static_cast<std::uint32_t>(record.size()));
}

// The worker's reading of the ciphers from the station's own element (suite types 2 TKIP, 4 CCMP).
void ReadAssocCiphers(int id, std::uint32_t& pairwise, std::uint32_t& group) {
  std::uint8_t element[260] = {};
  ElementCallback(id, element);
  const bool wpa = element[0] == 221;
  if (!wpa && element[0] != 48) return;
  auto code = [](std::uint8_t type) -> std::uint32_t { return type == 2 ? DOT1X_CIPHER_TKIP : DOT1X_CIPHER_CCMP; };
  group = code(element[wpa ? 11 : 7]);
  if (element[wpa ? 12 : 8] > 0) pairwise = code(element[wpa ? 17 : 13]);
}

struct Network {
  const char* ssid;
  int authMode;
  int encryption;
  const char* passPhrase;
  int elementId;
};
const Network kTkip{"Cafe-WPA-TKIP", 4, 4, "tkip-pass-1234", 221};
const Network kCcmp{"Home-WPA2", 7, 6, "wpa2 pass phrase", 48};

class HandshakeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("dot1x-handshake-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    setenv("VUZIDEZA_REGISTRY_DIR", folder_.c_str(), 1);
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  void SetUp() override {
    ASSERT_NE(Libraries::Get().supplicantLibrary, nullptr) << Libraries::Get().error;
    UseWorld({});
    g_station = &station_;
    std::strncpy(station_.handle.name, kAdapter, sizeof station_.handle.name - 1);
    ASSERT_NE(VZ_FN(QvOpenAdapter)(&station_.handle), 0);
  }
  void TearDown() override {
    DOT1X_FN(Shutdown_Dot1x_Module)();
    g_station = nullptr;
  }

  // A new world from the built-in scenario, with `changes` merged into the network of each SSID.
  static void UseWorld(const std::map<std::string, nlohmann::json>& changes) {
    std::ifstream in(fs::path(DOT1X_SOURCE_DIR) / "libs/vuzoza/scenarios/default.json");
    nlohmann::json scenario = nlohmann::json::parse(in);
    for (auto& network : scenario["networks"]) {
      const auto change = changes.find(network.value("ssid", ""));
      if (change != changes.end()) network.update(change->second);
    }
    const fs::path file = folder_ / "scenario.json";
    std::ofstream(file) << scenario.dump();
    setenv("VUZOZA_SCENARIO", file.c_str(), 1);
    g_now = 0;
    static const VzSimClock clock{nullptr, &Now, &Unix, &Sleep};
    VZ_FN(VzSim_SetClock)(&clock);
  }

  // The program surveys when it opens the adapter, so the access point's beacon is known.
  void Associate(const Network& n, bool surveyFirst = true) {
    VzAdapterHandle* a = &station_.handle;
    if (surveyFirst) {
      ASSERT_EQ(VZ_FN(WL_SiteSurveyStart)(a), 0);
      g_now += kSurveyMs;
    }
    ASSERT_EQ(VZ_FN(SetWL_AuthenticationMode)(a, n.authMode), 0);
    ASSERT_EQ(VZ_FN(SetWL_WEPStatus)(a, n.encryption), 0);
    ASSERT_EQ(VZ_FN(SetWL_SSID)(a, reinterpret_cast<const std::uint8_t*>(n.ssid), std::strlen(n.ssid)), 0);
    g_now += kAssociationMs;
    ASSERT_EQ(VZ_FN(QueryWL_ConnectState)(a), 0);
  }

  // What the pre-shared-key worker does once associated, up to its handshake loop.
  void StartNegotiation(const Network& n, const char* passPhrase) {
    static constexpr std::uint8_t kTag[] = DOT1X_KEY_CONTEXT_TAG;
    context_ = {};
    ReadAssocCiphers(n.elementId, context_.pairwise_cipher, context_.group_cipher);
    context_.key_callback = &KeyCallback;
    context_.element_callback = &ElementCallback;
    std::memcpy(context_.tag, kTag, sizeof kTag);
    ASSERT_EQ(VZ_FN(GetNICAdapterMAC)(&station_.handle, context_.own_mac), 0);
    ASSERT_EQ(VZ_FN(QueryWL_BSSID)(&station_.handle, bssid_), 0);
    ASSERT_EQ(DOT1X_FN(Get_PSK_Key_32byte)(passPhrase, reinterpret_cast<const std::uint8_t*>(n.ssid),
                                          static_cast<std::int32_t>(std::strlen(n.ssid)), 4096, context_.pmk, 32),
              0);
    ASSERT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), 0);
    ASSERT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), 0);
    startedAt_ = g_now;
  }

  void RunFor(std::int64_t ms) {
    const std::int64_t until = g_now + ms;
    // A step returns at once only with a frame; the access point sends a bounded number.
    for (int steps = 0; g_now < until; ++steps) {
      ASSERT_LT(steps, 10000) << "run steps that do not wait";
      DOT1X_FN(do_key_negotiation_run)(&context_);
      ASSERT_EQ(VZ_FN(QueryWL_ConnectState)(&station_.handle), 0);
    }
  }

  bool TrafficFlowsOver(std::int64_t ms) {
    std::uint32_t sent = 0, received = 0;
    auto count = [&] {
      EXPECT_EQ(VZ_FN(GetTxRxFrameCount)(&station_.handle, &sent, &received), 0);
      return sent;
    };
    const std::uint32_t before = count();
    g_now += ms;
    count();  // the world counts an interval on the call that follows it
    g_now += 1;
    return count() > before;
  }

  std::vector<InstalledKey> Installs(int kind) const {
    std::vector<InstalledKey> out;
    for (const auto& k : station_.installs) {
      if (k.kind == kind) out.push_back(k);
    }
    return out;
  }

  static inline fs::path folder_;
  Station station_;
  Dot1xKeyContext context_{};
  std::uint8_t bssid_[6] = {};
  std::int64_t startedAt_ = 0;
};

TEST_F(HandshakeTest, RightPassPhraseInstallsEachKeyOnceAndTrafficFlows) {
  for (const Network& n : {kTkip, kCcmp}) {
    SCOPED_TRACE(n.ssid);
    station_.installs.clear();
    Associate(n);
    EXPECT_FALSE(TrafficFlowsOver(2000)) << "no keys yet";
    StartNegotiation(n, n.passPhrase);
    RunFor(3000);
    const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
    const auto group = Installs(DOT1X_KEY_GROUP);
    ASSERT_EQ(pairwise.size(), 1u);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(pairwise[0].key.size(), context_.pairwise_cipher == DOT1X_CIPHER_TKIP ? 32u : 16u);
    EXPECT_EQ(group[0].key.size(), context_.group_cipher == DOT1X_CIPHER_TKIP ? 32u : 16u);
    EXPECT_EQ(pairwise[0].index, 0);
    EXPECT_GE(group[0].index, 1);
    EXPECT_LT(pairwise[0].atMs - startedAt_, kRetransmitMs) << "no retransmission was needed";
    EXPECT_TRUE(TrafficFlowsOver(2000));
  }
}

TEST_F(HandshakeTest, WrongPassPhraseNeverInstallsKeysNorPassesTraffic) {
  for (const Network& n : {kTkip, kCcmp}) {
    SCOPED_TRACE(n.ssid);
    Associate(n);
    StartNegotiation(n, "not the pass phrase");
    RunFor(10000);  // past every retransmission of the access point
    EXPECT_TRUE(station_.installs.empty());
    EXPECT_FALSE(TrafficFlowsOver(2000));
  }
}

// Faults on the air between the access point and the station, by frame number of one
// association. To the station: 1 message 1, 2 message 3, 3 (WPA) group message 1. From the
// station: 1 EAPOL-Start, 2 message 2, 3 message 4.
struct AirCase {
  const char* name;
  Network network;
  const char* fault;
  int frame;
  bool delaysKeys;  // the first install waits for a retransmission
};

TEST_F(HandshakeTest, AirFaultsAreRecoveredWithoutReinstallingKeys) {
  const AirCase cases[] = {
      {"lost message 1", kCcmp, "loseToStation", 1, true},
      {"lost message 3", kTkip, "loseToStation", 2, true},
      {"lost message 4: message 3 sent again", kCcmp, "loseFromStation", 3, false},
      {"lost message 4 (WPA): the group key waits for it", kTkip, "loseFromStation", 3, true},
      {"message 3 replayed", kCcmp, "repeatToStation", 2, false},
      {"group message replayed", kTkip, "repeatToStation", 3, false},
      {"message 3 with a forged integrity code", kCcmp, "forgeMicToStation", 2, true},
      {"group message with a forged integrity code", kTkip, "forgeMicToStation", 3, true},
  };
  for (const AirCase& c : cases) {
    SCOPED_TRACE(c.name);
    UseWorld({{c.network.ssid, {{"airFaults", {{c.fault, {c.frame}}}}}}});
    station_.installs.clear();
    Associate(c.network);
    StartNegotiation(c.network, c.network.passPhrase);
    RunFor(6000);
    const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
    const auto group = Installs(DOT1X_KEY_GROUP);
    ASSERT_EQ(pairwise.size(), 1u);
    ASSERT_EQ(group.size(), 1u);
    const std::int64_t lastInstall = std::max(pairwise[0].atMs, group[0].atMs) - startedAt_;
    if (c.delaysKeys) {
      EXPECT_GE(lastInstall, kRetransmitMs) << "the damaged frame was taken";
    } else {
      EXPECT_LT(lastInstall, kRetransmitMs);
    }
    EXPECT_TRUE(TrafficFlowsOver(2000));
  }
}

TEST_F(HandshakeTest, Message3IsCheckedAgainstTheSurveyedBeacon) {
  // The access point announced CCMP; a message 3 announcing TKIP (a downgrade) installs nothing.
  UseWorld({{kCcmp.ssid,
             {{"airFaults", {{"message3Element", "30140100000fac040100000fac020100000fac020000"}}}}}});
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(10000);
  EXPECT_TRUE(station_.installs.empty());
  EXPECT_FALSE(TrafficFlowsOver(2000));

  // No survey yet: the library surveys itself and takes a repeated message 3 once it knows the
  // beacon.
  SetUp();
  Associate(kCcmp, false);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(6000);
  const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
  ASSERT_EQ(pairwise.size(), 1u);
  EXPECT_GE(pairwise[0].atMs - startedAt_, kSurveyMs);
  EXPECT_EQ(Installs(DOT1X_KEY_GROUP).size(), 1u);
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

TEST_F(HandshakeTest, GroupRekeyInstallsEachNewGroupKeyOnce) {
  UseWorld({{kCcmp.ssid, {{"groupRekeyMs", 4000}}}});
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(9500);  // established at once, then rekeyed after 4 s and 8 s
  EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
  const auto group = Installs(DOT1X_KEY_GROUP);
  ASSERT_EQ(group.size(), 3u);
  for (std::size_t i = 1; i < group.size(); ++i) {
    EXPECT_NE(group[i].key, group[i - 1].key);
    EXPECT_NE(group[i].index, group[i - 1].index) << "the old key stays usable while the new one arrives";
  }
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

TEST_F(HandshakeTest, NegotiationIsRefusedCleanly) {
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  const Dot1xKeyContext good = context_;
  struct Case {
    const char* name;
    std::function<void(Dot1xKeyContext&)> spoil;
  };
  const Case cases[] = {
      {"no tag", [](Dot1xKeyContext& c) { std::memset(c.tag, 0, sizeof c.tag); }},
      {"all-zero PMK", [](Dot1xKeyContext& c) { std::memset(c.pmk, 0, sizeof c.pmk); }},
      {"WEP pairwise cipher", [](Dot1xKeyContext& c) { c.pairwise_cipher = DOT1X_CIPHER_WEP104; }},
      {"cipher not determined", [](Dot1xKeyContext& c) { c.group_cipher = DOT1X_CIPHER_UNKNOWN; }},
      {"no key callback", [](Dot1xKeyContext& c) { c.key_callback = nullptr; }},
      {"no element callback", [](Dot1xKeyContext& c) { c.element_callback = nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context_ = good;
    c.spoil(context_);
    EXPECT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), -1);
    EXPECT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), -1);
    // Once the access point's frames are drained, each step waits its full time.
    const std::int64_t before = g_now;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
    EXPECT_GE(g_now - before, 1000) << "the steps still wait";
  }
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, nullptr), -1);
  EXPECT_TRUE(station_.installs.empty());
  EXPECT_EQ(DOT1X_FN(Shutdown_Dot1x_Module)(), 0);
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
}

TEST_F(HandshakeTest, ShutdownReleasesTheNegotiationAndALaterOneWorks) {
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  ASSERT_EQ(DOT1X_FN(Shutdown_Dot1x_Module)(), 0);
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
  EXPECT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), -1);
  // The access point gave up meanwhile; a new attempt starts it again.
  g_now += 10 * kRetransmitMs;
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(3000);
  EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

}  // namespace
