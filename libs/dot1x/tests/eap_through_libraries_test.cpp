// EAP through the whole chain on the library level: libdot1x_dll.so, the simulated access point of
// libVUZOZA.so relaying over RADIUS, and FreeRADIUS on the loopback interface. Program time is
// virtual; the server answers in real time.

#include <fcntl.h>

#include <chrono>
#include <cstdio>

#include "libs/dot1x/certstore/cert_store.h"
#include "libs/dot1x/certstore/store_paths.h"
#include "libs/dot1x/testing/radius_server.h"
#include "libs/dot1x/testing/test_pki.h"
#include "libs/dot1x/tests/through_libraries.h"

namespace {

using namespace dot1x_test;
using dot1x::testing::RadiusServer;

constexpr const char* kUser = "alice";
constexpr const char* kPassword = "wonderland";

const Network kWpa2{"Corp-Enterprise", 6, 6, nullptr, 48};
const Network kWpaTkip{"Corp-WPA-TKIP", 3, 4, nullptr, 221};
const Network kDynamicWep{"Corp-Dynamic-WEP", 0, 0, nullptr, 0};

// The EAP block the workers build, with the files named by absolute paths.
struct EapSettings {
  std::string method;  // "TLS", "PEAP", "TTLS"
  std::string phase2;  // TTLS inner method
  std::string password = kPassword;
  bool validate = true;
  fs::path authority;
  fs::path certificate;
  fs::path key;
};

Bytes EapBlock(const EapSettings& s) {
  Bytes block(DOT1X_EAP_BLOCK_SIZE, 0);
  auto put = [&](std::size_t offset, std::size_t room, const std::string& text) {
    std::memcpy(block.data() + offset, text.data(), std::min(text.size(), room - 1));
  };
  const bool tls = s.method == "TLS";
  put(0, 256, s.method == "TTLS" ? "anonymous" : kUser);
  put(256, 255, s.password);
  put(511, 512, s.authority.string());
  if (tls) {
    put(1023, 512, s.certificate.string());
    put(2559, 512, s.key.string());
  }
  put(3071, 100, "EAP");
  put(3171, 37, s.method);
  const std::int32_t magic = 1398;
  std::memcpy(block.data() + 3208, &magic, 4);
  put(3212, 1536, ".rand");
  put(4748, 50, s.method == "PEAP" ? "MS-CHAPv2" : s.phase2);
  put(4798, 517, tls ? "" : kUser);
  block[5315] = s.validate ? 1 : 0;
  return block;
}

class EapTest : public LibrariesTest {
 protected:
  static void SetUpTestSuite() {
    LibrariesTest::SetUpTestSuite();
    setenv("VUZIDEZA_CERT_DIR", (folder_ / "certificates").c_str(), 1);
    pki_ = dot1x::testing::MakeTestPki(folder_ / "pki");
    dot1x::testing::RadiusServerOptions options;
    options.folder = folder_ / "radius";
    options.users = {{kUser, kPassword}};
    options.serverCertificate = pki_.server;
    options.clientAuthorities = pki_.authorityAndCrl;
    server_ = RadiusServer::Start(options, serverError_).release();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    LibrariesTest::TearDownTestSuite();
  }

  void SetUp() override {
    ASSERT_NE(server_, nullptr) << serverError_;
    LibrariesTest::SetUp();
    const nlohmann::json radius = {{"port", server_->port()}, {"secret", server_->secret()}, {"timeoutMs", 2000}};
    UseWorld({{kWpa2.ssid, {{"radius", radius}}}},
             {{{"bssid", "02:5A:A0:00:00:21"}, {"ssid", kWpaTkip.ssid}, {"channel", 8}, {"security", "wpa-eap"},
               {"radius", radius}, {"signal", -55}},
              {{"bssid", "02:5A:A0:00:00:22"}, {"ssid", kDynamicWep.ssid}, {"channel", 6}, {"security", "dot1x-wep"},
               {"radius", radius}, {"signal", -55}}});
    ASSERT_NE(VZ_FN(QvOpenAdapter)(&station_.handle), 0);
  }

  EapSettings Settings(std::string method, std::string phase2 = "") const {
    EapSettings s;
    s.method = std::move(method);
    s.phase2 = std::move(phase2);
    s.authority = pki_.authority;
    s.certificate = pki_.client.certificate;
    s.key = pki_.client.key;
    return s;
  }

  // Runs one authentication as the workers do; true when do_eapol_run reported success.
  bool Authenticate(const EapSettings& settings, std::uint8_t (&keys)[128]) {
    std::uint8_t mac[6] = {};
    EXPECT_EQ(VZ_FN(GetNICAdapterMAC)(&station_.handle, mac), 0);
    EXPECT_EQ(VZ_FN(QueryWL_BSSID)(&station_.handle, bssid_), 0);
    const Bytes block = EapBlock(settings);
    EXPECT_EQ(DOT1X_FN(do_eapol_init)(&station_.handle, 0, mac, bssid_, block.data()), 0);
    bool ok = false;
    for (int calls = 0; calls < 402 && !ok; ++calls) ok = DOT1X_FN(do_eapol_run)() != 0;
    DOT1X_FN(do_eapol_halt)();
    std::memset(keys, 0xEE, sizeof keys);
    const int result = DOT1X_FN(Get_EAP_Derived_Key)(keys);
    // Keys only from a success; a success without new keys (a cached PMK) reports none either.
    EXPECT_EQ(result, AllZero(keys) ? -1 : 0);
    if (!ok) {
      EXPECT_TRUE(AllZero(keys));
    }
    return ok;
  }

  static bool AllZero(const std::uint8_t (&keys)[128]) {
    return std::all_of(std::begin(keys), std::end(keys), [](std::uint8_t b) { return b == 0; });
  }

  static inline dot1x::testing::TestPki pki_;
  static inline RadiusServer* server_ = nullptr;
  static inline std::string serverError_;
};

// The files the supplicant thread exports from the user's store, named as the workers name them.
EapSettings ExportedFromStore(const dot1x::testing::TestPki& pki, std::string method) {
  certstore::CertStore store(certstore::StoreFolder());
  std::ifstream p12(pki.clientPkcs12, std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(p12)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(store.ImportPersonal(file, dot1x::testing::kPkcs12Password).ok);
  std::ifstream ca(pki.authority, std::ios::binary);
  const Bytes authority((std::istreambuf_iterator<char>(ca)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(store.ImportAuthorities(authority).ok);
  const std::u16string subject = u"alice";
  const std::u16string issuer = u"Vuzideza Test Authority";
  auto s = reinterpret_cast<const std::uint16_t*>(subject.c_str());
  auto i = reinterpret_cast<const std::uint16_t*>(issuer.c_str());
  EXPECT_EQ(DOT1X_FN(genMyCertFile)(s, i), 0);
  EXPECT_EQ(DOT1X_FN(genMySSLFile)(), 0);
  EXPECT_EQ(DOT1X_FN(genROOTCertFile)(s, i), 0);
  EXPECT_EQ(DOT1X_FN(genROOTSSLFile)(), 0);
  EapSettings settings;
  settings.method = std::move(method);
  settings.authority = "caroot.pem";
  settings.certificate = "Orvex.pem";
  settings.key = "Orvex_key.pem";
  if (settings.method == "TLS") settings.password = "Orvex";
  return settings;
}

TEST_F(EapTest, EveryMethodAuthenticatesAndItsKeysCarryTraffic) {
  struct Case {
    const char* name;
    Network network;
    EapSettings settings;
  };
  const Case cases[] = {
      {"EAP-TLS", kWpa2, Settings("TLS")},
      {"EAP-TLS with the files exported from the user's store", kWpa2, ExportedFromStore(pki_, "TLS")},
      {"PEAP trusting the store's authorities", kWpa2, ExportedFromStore(pki_, "PEAP")},
      {"PEAP-MSCHAPv2", kWpa2, Settings("PEAP")},
      {"TTLS-PAP", kWpa2, Settings("TTLS", "PAP")},
      {"TTLS-CHAP", kWpa2, Settings("TTLS", "CHAP")},
      {"TTLS-MSCHAP", kWpa2, Settings("TTLS", "MSCHAP")},
      {"TTLS-MSCHAPv2", kWpa2, Settings("TTLS", "MSCHAPv2")},
      {"WPA-Enterprise TKIP with PEAP", kWpaTkip, Settings("PEAP")},
      {"802.1X dynamic WEP with EAP-TLS", kDynamicWep, Settings("TLS")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    station_.installs.clear();
    Associate(c.network);
    EXPECT_FALSE(TrafficFlowsOver(2000)) << "no keys yet";
    std::uint8_t keys[128];
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(Authenticate(c.settings, keys)) << server_->Log();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(AllZero(keys));
    const bool wep = c.network.elementId == 0;
    PrepareContext(c.network, wep);
    std::memcpy(context_.pmk, keys, 32);
    std::memcpy(context_.eap_keying_material, keys, 128);
    ASSERT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), 0);
    RunFor(3000);
    EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
    EXPECT_EQ(Installs(DOT1X_KEY_GROUP).size(), 1u);
    EXPECT_TRUE(TrafficFlowsOver(2000)) << "the access point's keys from RADIUS equal ours";
  }
}

TEST_F(EapTest, RefusedAuthenticationsGiveNoKeys) {
  struct Case {
    const char* name;
    EapSettings settings;
  };
  EapSettings wrongPassword = Settings("PEAP");
  wrongPassword.password = "not the password";
  EapSettings wrongTtlsPassword = Settings("TTLS", "MSCHAPv2");
  wrongTtlsPassword.password = "not the password";
  EapSettings wrongPapPassword = Settings("TTLS", "PAP");
  wrongPapPassword.password = "not the password";
  EapSettings revoked = Settings("TLS");
  revoked.certificate = pki_.revokedClient.certificate;
  revoked.key = pki_.revokedClient.key;
  EapSettings expired = Settings("TLS");
  expired.certificate = pki_.expiredClient.certificate;
  expired.key = pki_.expiredClient.key;
  EapSettings otherAuthority = Settings("PEAP");
  otherAuthority.authority = pki_.rogueAuthority;
  EapSettings otherAuthorityTls = Settings("TLS");
  otherAuthorityTls.authority = pki_.rogueAuthority;
  const Case cases[] = {
      {"PEAP, wrong password", wrongPassword},
      {"TTLS-MSCHAPv2, wrong password", wrongTtlsPassword},
      {"TTLS-PAP, wrong password", wrongPapPassword},
      {"EAP-TLS, revoked client certificate", revoked},
      {"EAP-TLS, expired client certificate", expired},
      {"PEAP, server certificate from another authority", otherAuthority},
      {"EAP-TLS, server certificate from another authority", otherAuthorityTls},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Associate(kWpa2);
    std::uint8_t keys[128];
    EXPECT_FALSE(Authenticate(c.settings, keys));
    EXPECT_TRUE(AllZero(keys));
    EXPECT_FALSE(TrafficFlowsOver(2000));
    // The worker's failure action makes the adapter associate again; a new attempt starts clean.
    ASSERT_EQ(VZ_FN(SetWL_SSID)(&station_.handle, reinterpret_cast<const std::uint8_t*>("x"), 1), 0);
    g_now += kAssociationMs;
  }
  // The right settings still work afterwards.
  Associate(kWpa2);
  std::uint8_t keys[128];
  EXPECT_TRUE(Authenticate(Settings("PEAP"), keys)) << server_->Log();
}

}  // namespace

namespace {

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(EapTest, ReassociationWithAnnouncedPmkidSkipsTheServer) {
  Associate(kWpa2);
  std::uint8_t keys[128];
  ASSERT_TRUE(Authenticate(Settings("PEAP"), keys)) << server_->Log();
  PrepareContext(kWpa2, false);
  std::memcpy(context_.pmk, keys, 32);
  ASSERT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), 0);
  RunFor(3000);
  ASSERT_TRUE(TrafficFlowsOver(1000));

  // What the WPA2 workers do after an authentication: announce the PMKID to the driver.
  std::uint8_t pmkid[16];
  ASSERT_EQ(DOT1X_FN(Get_PMKID)(keys, bssid_, context_.own_mac, pmkid), 0);
  std::uint8_t record[32] = {32, 0, 0, 0, 1, 0, 0, 0};
  std::memcpy(record + 8, bssid_, 6);
  std::memcpy(record + 14, pmkid, 16);
  ASSERT_EQ(VZ_FN(WriteOid)(&station_.handle, VZ_OID_PMKID, record, sizeof record), 0);
  const std::size_t logins = Count(server_->Log(), "Login OK");

  // Back at the same access point: it takes the cached PMK, the server is not asked.
  Associate(kWpa2);
  std::uint8_t none[128];
  EXPECT_TRUE(Authenticate(Settings("PEAP"), none));
  EXPECT_TRUE(AllZero(none)) << "no new keying material: the worker uses its cached one";
  EXPECT_EQ(Count(server_->Log(), "Login OK"), logins);
  station_.installs.clear();
  PrepareContext(kWpa2, false);
  std::memcpy(context_.pmk, keys, 32);
  ASSERT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), 0);
  RunFor(3000);
  EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
  EXPECT_TRUE(TrafficFlowsOver(1000));

  // A station that lost the PMK (a new worker) cannot finish the handshake: the access point
  // forgets the PMK and sends it away, and the next association authenticates in full.
  Associate(kWpa2);
  EXPECT_TRUE(Authenticate(Settings("PEAP"), none));
  PrepareContext(kWpa2, false);
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), -1) << "all-zero PMK";
  for (int steps = 0; steps < 200 && VZ_FN(QueryWL_ConnectState)(&station_.handle) == 0; ++steps) {
    DOT1X_FN(do_key_negotiation_run)(&context_);
  }
  EXPECT_NE(VZ_FN(QueryWL_ConnectState)(&station_.handle), 0);
  Associate(kWpa2);
  EXPECT_TRUE(Authenticate(Settings("PEAP"), keys));
  EXPECT_FALSE(AllZero(keys));
  EXPECT_EQ(Count(server_->Log(), "Login OK"), logins + 2) << "inner and outer login of a full PEAP";
}

}  // namespace

namespace {

// Everything both libraries write to standard output and error while the block runs.
std::string CapturedOutput(const std::function<void()>& body) {
  std::fflush(stdout);
  std::fflush(stderr);
  const fs::path file = fs::temp_directory_path() / ("eap-output-" + std::to_string(::getpid()));
  const int capture = ::open(file.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
  const int savedOut = ::dup(1);
  const int savedErr = ::dup(2);
  ::dup2(capture, 1);
  ::dup2(capture, 2);
  body();
  std::fflush(stdout);
  std::fflush(stderr);
  ::dup2(savedOut, 1);
  ::dup2(savedErr, 2);
  ::close(savedOut);
  ::close(savedErr);
  ::close(capture);
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove(file);
  return text;
}

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
  return out;
}

TEST_F(EapTest, SecretsNeverReachTheOutput) {
  std::uint8_t peapKeys[128];
  std::uint8_t tlsKeys[128];
  std::uint8_t noKeys[128];
  EapSettings wrong = Settings("TTLS", "PAP");
  wrong.password = "a-wrong-password";
  const std::string output = CapturedOutput([&] {
    Associate(kWpa2);
    EXPECT_TRUE(Authenticate(Settings("PEAP"), peapKeys));
    Associate(kWpa2);
    EXPECT_TRUE(Authenticate(Settings("TLS"), tlsKeys));
    Associate(kWpa2);
    EXPECT_FALSE(Authenticate(wrong, noKeys));
  });
  std::ifstream keyFile(pki_.client.key);
  std::string keyLine;
  std::getline(keyFile, keyLine);
  std::getline(keyFile, keyLine);  // the first line of the key's body
  for (const std::string& secret : {std::string(kPassword), std::string("a-wrong-password"), keyLine,
                                    Hex(peapKeys, 16), Hex(tlsKeys, 16)}) {
    SCOPED_TRACE(secret);
    EXPECT_EQ(output.find(secret), std::string::npos);
  }
}

}  // namespace
