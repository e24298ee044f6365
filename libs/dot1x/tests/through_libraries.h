#pragma once
// The built libdot1x_dll.so and libVUZOZA.so loaded the way the program loads them, with the
// program's key and element callbacks, on a virtual clock handed to the simulated world.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

namespace dot1x_test {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline constexpr const char* kAdapter = "{6F1C2A10-7100-4D5A-9E11-00000000A001}";
inline constexpr std::int64_t kAssociationMs = 1500;
inline constexpr std::int64_t kRetransmitMs = 1000;
inline constexpr std::int64_t kSurveyMs = 2500;

inline std::int64_t g_now = 0;
inline std::int64_t VZ_CALL Now(void*) { return g_now; }
inline std::int64_t VZ_CALL Unix(void*) { return 1'700'000'000 + g_now / 1000; }
inline void VZ_CALL Sleep(void*, std::uint32_t ms) { g_now += ms; }

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

#define VZ_FN(name) ::dot1x_test::Libraries::Get().Adapter<decltype(::name)>(#name)
#define DOT1X_FN(name) ::dot1x_test::Libraries::Get().Supplicant<decltype(::name)>(#name)

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
inline Station* g_station = nullptr;

inline Bytes ReadAssociationRequestElements() {
  std::uint8_t info[1000] = {};
  if (VZ_FN(ReadOid)(&g_station->handle, VZ_OID_ASSOCIATION_INFORMATION, info, sizeof info) != 0) return {};
  std::uint32_t begin = 0, end = 0;
  std::memcpy(&begin, info + 20, 4);
  std::memcpy(&end, info + 36, 4);
  if (begin > end || end > sizeof info) return {};
  return Bytes(info + begin, info + end);
}

inline void DOT1X_CALL ElementCallback(int32_t id, uint8_t* out) {
  const Bytes elements = ReadAssociationRequestElements();
  for (std::size_t at = 0; at + 2 <= elements.size() && at + 2 + elements[at + 1] <= elements.size();
       at += 2 + elements[at + 1]) {
    if (elements[at] != static_cast<std::uint8_t>(id)) continue;
    std::memcpy(out, &elements[at], 2 + elements[at + 1]);
    out[2 + elements[at + 1]] = 0;
  }
}

// Writes the key the way the program does: the NDIS key record, BSSID read at call time.
inline void DOT1X_CALL KeyCallback(const uint8_t* rsc, const uint8_t* key, int32_t length, int32_t index,
                                   int32_t kind) {
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

// The 802.1X workers' key callback: the WEP key record.
inline void DOT1X_CALL WepKeyCallback(const uint8_t*, const uint8_t* key, int32_t length, int32_t index,
                                      int32_t kind) {
  g_station->installs.push_back({kind, index, Bytes(key, key + length), g_now});
  Bytes record(static_cast<std::size_t>(length) + 15, 0);
  const std::uint32_t words[3] = {static_cast<std::uint32_t>(record.size()),
                                  static_cast<std::uint32_t>(index) | (kind == 0 ? 0x80000000u : 0u),
                                  static_cast<std::uint32_t>(length)};
  std::memcpy(record.data(), words, sizeof words);
  std::memcpy(record.data() + 12, key, static_cast<std::size_t>(length));
  VZ_FN(WriteOid)(&g_station->handle, VZ_OID_ADD_WEP_KEY, record.data(), static_cast<std::uint32_t>(record.size()));
}

// The worker's reading of the ciphers from the station's own element (suite types 2 TKIP, 4 CCMP).
inline void ReadAssocCiphers(int id, std::uint32_t& pairwise, std::uint32_t& group) {
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
  int elementId;  // 0: no element (802.1X with WEP)
};

class LibrariesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("dot1x-libraries-" + std::to_string(::getpid()));
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

  // A new world from the built-in scenario, with `changes` merged into the network of each SSID
  // and `extraNetworks` added.
  static void UseWorld(const std::map<std::string, nlohmann::json>& changes,
                       const std::vector<nlohmann::json>& extraNetworks = {}) {
    std::ifstream in(fs::path(DOT1X_SOURCE_DIR) / "libs/vuzoza/scenarios/default.json");
    nlohmann::json scenario = nlohmann::json::parse(in);
    for (auto& network : scenario["networks"]) {
      const auto change = changes.find(network.value("ssid", ""));
      if (change != changes.end()) network.update(change->second);
    }
    for (const auto& extra : extraNetworks) scenario["networks"].push_back(extra);
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

  // Fills the key context as the workers do once associated; the PMK is left to the caller.
  void PrepareContext(const Network& n, bool wep) {
    static constexpr std::uint8_t kTag[] = DOT1X_KEY_CONTEXT_TAG;
    context_ = {};
    if (n.elementId != 0) ReadAssocCiphers(n.elementId, context_.pairwise_cipher, context_.group_cipher);
    context_.key_callback = wep ? &WepKeyCallback : &KeyCallback;
    context_.element_callback = &ElementCallback;
    std::memcpy(context_.tag, kTag, sizeof kTag);
    ASSERT_EQ(VZ_FN(GetNICAdapterMAC)(&station_.handle, context_.own_mac), 0);
    ASSERT_EQ(VZ_FN(QueryWL_BSSID)(&station_.handle, bssid_), 0);
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
};

}  // namespace dot1x_test
