// One full authentication against the same FreeRADIUS, side by side: our library through the
// simulated access point (both libraries loaded as the program loads them; program time virtual,
// the server's real), and eapol_test (Debian package eapoltest) as a separate process, whose time
// includes starting that process.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/testing/radius_server.h"
#include "libs/dot1x/testing/test_pki.h"
#include "libs/vuzoza/include/vuzoza.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::int64_t g_now = 0;
std::int64_t VZ_CALL Now(void*) { return g_now; }
std::int64_t VZ_CALL Unix(void*) { return 1'700'000'000 + g_now / 1000; }
void VZ_CALL Sleep(void*, std::uint32_t ms) { g_now += ms; }

struct Setup {
  fs::path folder;
  dot1x::testing::TestPki pki;
  std::unique_ptr<dot1x::testing::RadiusServer> server;
  void* adapterLibrary = nullptr;
  void* supplicantLibrary = nullptr;
  std::string error;

  template <typename F>
  F* Vz(const char* name) const { return reinterpret_cast<F*>(dlsym(adapterLibrary, name)); }
  template <typename F>
  F* Dot1x(const char* name) const { return reinterpret_cast<F*>(dlsym(supplicantLibrary, name)); }

  static Setup& Get() {
    static Setup s;
    static const bool ready = (s.Start(), true);
    (void)ready;
    return s;
  }

  void Start() {
    {
      Setup& s = *this;
      s.folder = fs::temp_directory_path() / ("eap-bench-" + std::to_string(getpid()));
      s.pki = dot1x::testing::MakeTestPki(s.folder / "pki");
      dot1x::testing::RadiusServerOptions options;
      options.folder = s.folder / "radius";
      options.users = {{"alice", "wonderland"}};
      options.serverCertificate = s.pki.server;
      options.clientAuthorities = s.pki.authorityAndCrl;
      s.server = dot1x::testing::RadiusServer::Start(options, s.error);
      if (!s.server) return;
      const std::string scenario = R"({"adapters": [{"name": "{6F1C2A10-7100-4D5A-9E11-00000000A001}", "instance": "0007",
        "mac": "02:5A:71:00:00:01"}], "networks": [{"bssid": "02:5A:A0:00:00:07", "ssid": "Corp-Enterprise",
        "channel": 8, "security": "wpa2-eap", "radius": {"port": )" + std::to_string(s.server->port()) +
                                   R"(, "secret": ")" + s.server->secret() + R"("}}]})";
      std::ofstream(s.folder / "scenario.json") << scenario;
      setenv("VUZOZA_SCENARIO", (s.folder / "scenario.json").c_str(), 1);
      setenv("VUZIDEZA_REGISTRY_DIR", s.folder.c_str(), 1);
      s.adapterLibrary = dlopen((fs::path(DOT1X_BIN_DIR) / "libVUZOZA.so").c_str(), RTLD_NOW | RTLD_LOCAL);
      s.supplicantLibrary = dlopen((fs::path(DOT1X_BIN_DIR) / "libdot1x_dll.so").c_str(), RTLD_NOW | RTLD_LOCAL);
      if (s.supplicantLibrary == nullptr) s.error = dlerror();
      static const VzSimClock clock{nullptr, &Now, &Unix, &Sleep};
      if (s.adapterLibrary != nullptr) s.Vz<decltype(VzSim_SetClock)>("VzSim_SetClock")(&clock);
    }
  }
  ~Setup() {
    server.reset();
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
};

std::vector<std::uint8_t> Block(const Setup& s, const std::string& method) {
  std::vector<std::uint8_t> block(DOT1X_EAP_BLOCK_SIZE, 0);
  auto put = [&](std::size_t at, const std::string& text) { std::memcpy(block.data() + at, text.data(), text.size()); };
  const bool tls = method == "TLS";
  put(0, "alice");
  put(256, tls ? "" : "wonderland");
  put(511, s.pki.authority.string());
  if (tls) {
    put(1023, s.pki.client.certificate.string());
    put(2559, s.pki.client.key.string());
  }
  put(3171, method);
  if (!tls) put(4748, "MS-CHAPv2");
  if (!tls) put(4798, "alice");
  block[5315] = 1;
  return block;
}

void OurLibrary(benchmark::State& state, const std::string& method) {
  Setup& s = Setup::Get();
  if (s.supplicantLibrary == nullptr) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  VzAdapterHandle adapter{};
  std::strncpy(adapter.name, "{6F1C2A10-7100-4D5A-9E11-00000000A001}", sizeof adapter.name - 1);
  s.Vz<decltype(QvOpenAdapter)>("QvOpenAdapter")(&adapter);
  s.Vz<decltype(SetWL_AuthenticationMode)>("SetWL_AuthenticationMode")(&adapter, 6);
  s.Vz<decltype(SetWL_WEPStatus)>("SetWL_WEPStatus")(&adapter, 6);
  const std::vector<std::uint8_t> block = Block(s, method);
  std::uint8_t mac[6] = {0x02, 0x5A, 0x71, 0, 0, 1};
  std::uint8_t bssid[6] = {0x02, 0x5A, 0xA0, 0, 0, 7};
  for (auto _ : state) {
    state.PauseTiming();
    // A new association: the access point starts a new authentication.
    s.Vz<decltype(SetWL_SSID)>("SetWL_SSID")(&adapter, reinterpret_cast<const std::uint8_t*>("Corp-Enterprise"), 15);
    g_now += 1500;
    state.ResumeTiming();
    s.Dot1x<decltype(do_eapol_init)>("do_eapol_init")(&adapter, 0, mac, bssid, block.data());
    int calls = 0;
    while (s.Dot1x<decltype(do_eapol_run)>("do_eapol_run")() == 0 && ++calls < 402) {
    }
    s.Dot1x<decltype(do_eapol_halt)>("do_eapol_halt")();
    if (calls >= 402) state.SkipWithError("authentication failed");
  }
}

void EapolTest(benchmark::State& state, const std::string& method) {
  Setup& s = Setup::Get();
  if (!s.server) {
    state.SkipWithError(s.error.c_str());
    return;
  }
  const fs::path conf = s.folder / (method + ".conf");
  std::ofstream out(conf);
  out << "network={\n key_mgmt=WPA-EAP\n eap=" << method << "\n identity=\"alice\"\n ca_cert=\""
      << s.pki.authority.string() << "\"\n";
  if (method == "TLS") {
    out << " client_cert=\"" << s.pki.client.certificate.string() << "\"\n private_key=\"" << s.pki.client.key.string()
        << "\"\n";
  } else {
    out << " password=\"wonderland\"\n phase2=\"auth=MSCHAPV2\"\n";
  }
  out << "}\n";
  out.close();
  std::vector<std::string> args{"/usr/bin/eapol_test", "-c", conf.string(), "-a", "127.0.0.1",
                                "-p", std::to_string(s.server->port()), "-s", s.server->secret()};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("eapol_test is not installed (Debian package eapoltest)");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("eapol_test failed");
  }
  posix_spawn_file_actions_destroy(&quiet);
}

void BM_OurLibrary_PeapMsChapV2(benchmark::State& state) { OurLibrary(state, "PEAP"); }
void BM_EapolTest_PeapMsChapV2(benchmark::State& state) { EapolTest(state, "PEAP"); }
void BM_OurLibrary_EapTls(benchmark::State& state) { OurLibrary(state, "TLS"); }
void BM_EapolTest_EapTls(benchmark::State& state) { EapolTest(state, "TLS"); }
BENCHMARK(BM_OurLibrary_PeapMsChapV2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EapolTest_PeapMsChapV2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OurLibrary_EapTls)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EapolTest_EapTls)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
