// Joining the networks of the built-in simulated world from the survey list, through automation
// commands on the real program and both libraries: each kind of network reaches "Connected"
// with frames flowing, and a wrong key never connects.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/tests/program_runner.h"

namespace app {
namespace {

using testing::Instance;
using testing::ProgramEnvironment;

constexpr int kMainTemplate = 156;
constexpr int kLinkStatus = 1195, kSsidValue = 1190, kTxFrames = 1198, kRxFrames = 1199;

// Rows of the built-in world's survey list.
enum Row : int {
  kLabWep64 = 1,
  kLabWep128 = 2,
  kPeerAdHoc = 7,
  kCampus = 11,
};

// Opens the window and waits for the first survey, the ticks the scan needs.
constexpr char kOpenAndScan[] = "tray dblclick\ntick 6\n";
// After a join: the association and a few refreshes with traffic.
constexpr char kSettle[] = "tick 5\ndump\n";

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
        case kLinkStatus:
          link.status = text;
          break;
        case kSsidValue:
          link.ssid = text;
          break;
        case kTxFrames:
          link.sent = std::strtoul(text.c_str(), nullptr, 10);
          break;
        case kRxFrames:
          link.received = std::strtoul(text.c_str(), nullptr, 10);
          break;
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

// In the WEP key dialog: "Change", the length, one key typed and made the transmit key, "Apply",
// and the close box.
std::string TypeWepKey(const std::string& lengthRadio, int key, const std::string& digits) {
  constexpr int kKeyBoxes[] = {1044, 1046, 1048, 1050};
  return "click 1203\nclick " + lengthRadio + "\ntype " + std::to_string(kKeyBoxes[key]) + " " +
         digits + "\nselect 1202 " + std::to_string(key) + "\nclick 1203\nclose\n";
}

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

TEST(JoinProgram, WepKeysTypedInTheDialogConnectAndAreUsedAgainOnYes) {
  ProgramEnvironment env;
  ExpectConnected(
      RunProgram(env, std::string(kOpenAndScan) + "answer no\n" + DoubleClick(kLabWep64) +
                          TypeWepKey("1207", 0, "1a2b3c4d5e") + kSettle),
      "Connected to Access Point.", "Lab-WEP64");
  ExpectConnected(
      RunProgram(env, std::string(kOpenAndScan) + "answer no\n" + DoubleClick(kLabWep128) +
                          TypeWepKey("1208", 1, "00112233445566778899AABBCC") + kSettle),
      "Connected to Access Point.", "Lab-WEP128");
  // A later run, after joining another network: "Yes" takes the keys stored by the dialog.
  ExpectConnected(RunProgram(env, std::string(kOpenAndScan) + DoubleClick(kCampus) + kSettle +
                                      "answer yes\n" + DoubleClick(kLabWep128) + kSettle),
                  "Connected to Access Point.", "Lab-WEP128");
}

TEST(JoinProgram, AWrongWepKeyNeverConnects) {
  ProgramEnvironment env;
  const Link link =
      RunProgram(env, std::string(kOpenAndScan) + "answer no\n" + DoubleClick(kLabWep64) +
                          TypeWepKey("1207", 0, "1a2b3c4d5f") + "tick 20\ndump\n");
  EXPECT_EQ(link.status.find("Connected"), std::string::npos) << link.status;
}

}  // namespace
}  // namespace app
