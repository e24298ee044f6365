// One station-mode refresh tick of the main window on the simulated adapter library, loaded as the
// program loads it, with the SQLite registry store and the headless backend.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

#include "adapter/testing/simulated_adapter.h"
#include "platform/registry/tests/temp_dir.h"
#include "ui/main/tests/main_page_fixture.h"

namespace ui {
namespace {

constexpr char kScenario[] = R"({
  "adapters": [{
    "name": "{6F1C2A10-7100-4D5A-9E11-00000000A001}",
    "description": "VZ 7100 USB Wireless LAN Adapter",
    "instance": "0007",
    "hardwareId": "USB\\VID_F5A1&PID_7100",
    "mac": "02:5A:71:00:00:01",
    "chip": 1,
    "region": 48
  }]
})";

void BM_StationTick(benchmark::State& state) {
  main_page::RegisterMainPageTemplate();
  platform::testing::TempDir dir;
  platform::VirtualClock clock;
  platform::window::headless::ScriptedSession session{clock};
  const std::filesystem::path scenario = dir.path() / "scenario.json";
  std::ofstream(scenario) << kScenario;
  adapter::testing::SimulatedAdapter simulated =
      adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir.path(), scenario, clock);
  auto opened = platform::OpenSqliteRegistry(dir.path());
  if (!simulated.error.empty() || !opened.registry) {
    state.SkipWithError("the simulated adapter or the registry store did not open");
    return;
  }
  config::SettingStore store(*opened.registry);
  adapter::CurrentAdapter current;
  config::RadioState radio;
  app::ProductConfig product;
  product.matchingDeviceIds[0] = testing::kUsbFamilyId;
  testing::RecordingTray tray;
  config::RecordingSupplicantControl supplicant;
  lang::CMultiLanguage language;
  DialogChain chain;
  bool startHidden = true;
  std::unique_ptr<platform::ChildProcess> bluetooth;
  MainWindowServices services{store,      *simulated.library, current,  radio,
                              clock,      product,            tray,     supplicant,
                              language,   chain,              startHidden, bluetooth};
  testing::ObservedMainPage page(services);

  session.driver.OnOpen(main_page::kTemplateId, [&](platform::window::Dialog& d) {
    auto& p = static_cast<testing::ObservedMainPage&>(d);
    // Settle: the adapter is open and the scan started at the selection has been listed.
    for (int tick = 0; tick < 5; ++tick) {
      session.backend.Tick();
      session.backend.Pump();
    }
    if (!p.AdapterOpen() || p.ScanPending()) {
      state.SkipWithError("the adapter did not open or its first scan was not listed");
    } else {
      for (auto _ : state) {
        session.backend.Tick();
        session.backend.Pump();
      }
    }
    p.EndDialog(0);
  });
  (void)page.DoModal();
}
BENCHMARK(BM_StationTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace ui
