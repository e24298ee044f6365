// Joining the networks of the built-in simulated world from the survey list, through automation
// commands on the real program and both libraries: each kind of network reaches "Connected"
// with frames flowing, and a wrong key never connects.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "app/tests/program_runner.h"
#include "config/setting_store.h"
#include "platform/registry/registry.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;

constexpr int kMainTemplate = 156;
constexpr int kLinkStatus = 1195, kSsidValue = 1190, kTxFrames = 1198, kRxFrames = 1199;

// Rows of the built-in world's survey list.
enum Row : int {
  kLabWep64 = 1, kPeerAdHoc = 7, kCampus = 11,
};

// Opens the window and waits for the first survey, the ticks the scan needs.
constexpr char kOpenAndScan[] = "tray dblclick\ntick 6\n";
// After a join: the association and a few refreshes with traffic.
constexpr char kSettle[] = "tick 5\ndump\n";

// Writes station settings of the simulated adapter (class instance 0007) before the run.
void StoreStationSettings(const ProgramEnvironment& env,
                          std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> values) {
  platform::OpenRegistryResult opened = platform::OpenSqliteRegistry(env.registryDir());
  ASSERT_NE(opened.registry, nullptr) << opened.error;
  config::SettingStore store(*opened.registry);
  store.SetAdapterInstance("0007");
  for (const auto& [name, text] : values) ASSERT_EQ(store.WriteSetting(name, text), 0);
}

struct Link {
  std::string status, ssid;
  unsigned long sent = 0, received = 0;
};

// The link area of the main window in the last dump of a run.
Link LastLink(Instance& program) {
  const std::vector<std::string> lines = program.OutputLines();
  Link link;
  if (lines.empty()) return link;
  const nlohmann::json dump = nlohmann::json::parse(lines.back());
  for (const nlohmann::json& dialog : dump["dialogs"]) {
    if (dialog["template"] != kMainTemplate) continue;
    for (const nlohmann::json& control : dialog["controls"]) {
      const std::string text = control["text"];
      switch (control["id"].get<int>()) {
        case kLinkStatus: link.status = text; break;
        case kSsidValue: link.ssid = text; break;
        case kTxFrames: link.sent = std::strtoul(text.c_str(), nullptr, 10); break;
        case kRxFrames: link.received = std::strtoul(text.c_str(), nullptr, 10); break;
      }
    }
  }
  return link;
}

// Runs the program on `script` to its end.
Link RunProgram(const ProgramEnvironment& env, const std::string& script) {
  Instance program(env, {"--headless", "--virtual-clock"});
  program.Send(script);
  program.CloseInput();
  EXPECT_EQ(program.WaitForExit(), 0) << program.Errors();
  EXPECT_EQ(program.Errors(), "");
  return LastLink(program);
}

void ExpectConnected(const Link& link, const std::string& status, const std::string& ssid) {
  EXPECT_EQ(link.status.substr(0, status.size()), status);
  EXPECT_EQ(link.ssid, ssid);
  EXPECT_GT(link.sent, 0u);
  EXPECT_GT(link.received, 0u);
}

std::string DoubleClick(int row) { return "dblclick 1243 " + std::to_string(row) + "\n"; }

TEST(JoinProgram, OpenNetworksJoinWithoutQuestions) {
  {
    ProgramEnvironment env;
    ExpectConnected(RunProgram(env, std::string(kOpenAndScan) + DoubleClick(kCampus) + kSettle),
                    "Connected to Access Point.", "Campus");
  }
  {
    ProgramEnvironment env;
    ExpectConnected(RunProgram(env, std::string(kOpenAndScan) + DoubleClick(kPeerAdHoc) + kSettle),
                    "Connected to Ad-Hoc.", "Peer-AdHoc");
  }
}

TEST(JoinProgram, WepWithTheStoredKeysConnectsOnlyWhenTheyAreRight) {
  {
    ProgramEnvironment env;
    StoreStationSettings(env, {{u"WEPKey64_0", u"1A 2B 3C 4D 5E"}});
    ExpectConnected(
        RunProgram(env, std::string(kOpenAndScan) + "answer yes\n" + DoubleClick(kLabWep64) + kSettle),
        "Connected to Access Point.", "Lab-WEP64");
  }
  {
    ProgramEnvironment env;
    StoreStationSettings(env, {{u"WEPKey64_0", u"1A 2B 3C 4D 5F"}});
    const Link link =
        RunProgram(env, std::string(kOpenAndScan) + "answer yes\n" + DoubleClick(kLabWep64) + "tick 20\ndump\n");
    EXPECT_EQ(link.status.find("Connected"), std::string::npos) << link.status;
  }
}

}  // namespace
}  // namespace app
