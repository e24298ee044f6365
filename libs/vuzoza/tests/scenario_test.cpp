#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "libs/vuzoza/tests/sim_fixture.h"

namespace vuzoza::testing {
namespace {

TEST(ScenarioTest, DefaultWorldHasTheAdaptersAndNetworksOfTheFamily) {
  const Scenario s = MustParse(DefaultScenarioJson());
  ASSERT_EQ(s.adapters.size(), 2u);
  EXPECT_EQ(s.adapters[0].hardwareId, "USB\\VID_F5A1&PID_7100");
  EXPECT_EQ(s.adapters[0].chip, 4);  // a chip that does WMM
  EXPECT_EQ(s.adapters[0].bands, Bands::Band24);
  EXPECT_EQ(s.adapters[0].driverVersion, 0x0203A51Bu);
  EXPECT_FALSE(s.adapters[1].wireless);

  int hidden = 0, e9 = 0, campus = 0, adhoc = 0, far = 0;
  for (const NetworkSpec& n : s.networks) {
    hidden += n.hidden;
    e9 += n.ssid == Bytes{'C', 'a', 'f', 0xE9};
    campus += n.ssid == Text("Campus");
    adhoc += n.adhoc;
    far += n.signal.front().dbm <= -95;
  }
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(e9, 1);
  EXPECT_EQ(campus, 2);
  EXPECT_EQ(adhoc, 1);
  EXPECT_EQ(far, 1);
  EXPECT_EQ(s.stations.size(), 2u);
}

TEST(ScenarioTest, ShippedDualBandScenarioParses) {
  const LoadResult r = LoadScenarioFile(std::string(VUZOZA_SCENARIO_DIR) + "/dual-band.json");
  ASSERT_EQ(r.error, "");
  ASSERT_FALSE(r.scenario.adapters.empty());
  EXPECT_EQ(r.scenario.adapters[0].hardwareId, "PCI\\VEN_F5A1&DEV_7500");
  EXPECT_EQ(r.scenario.adapters[0].chip, 5);
  EXPECT_EQ(r.scenario.adapters[0].bands, Bands::Both);
}

TEST(ScenarioTest, MalformedScenariosNameTheProblem) {
  const std::string adapter = R"("name":"a","instance":"0001","mac":"02:00:00:00:00:01")";
  const std::string net = R"("bssid":"02:00:00:00:00:02","channel":6)";
  struct Case {
    std::string json;
    std::string expected;
  } cases[] = {
      {"{", "not valid JSON"},
      {"[]", "scenario: expected an object"},
      {R"({"adapter":[]})", "unknown field \"adapter\""},
      {R"({"adapters":{}})", "scenario.adapters: expected an array"},
      {R"({"adapters":[{"instance":"0001","mac":"02:00:00:00:00:01"}]})", "adapters[0].name: missing"},
      {R"({"adapters":[{"name":"a","instance":"12","mac":"02:00:00:00:00:01"}]})", "adapters[0].instance"},
      {"{\"adapters\":[{" + adapter + ",\"chip\":7}]}", "adapters[0].chip: must be between 1 and 5"},
      {"{\"adapters\":[{" + adapter + ",\"chip\":\"1\"}]}", "adapters[0].chip: expected an integer"},
      {R"({"adapters":[{"name":"a","instance":"0001","mac":"02:00:00"}]})", "expected 6 address bytes"},
      {R"({"adapters":[{"name":"a","instance":"0001","mac":"zz:00:00:00:00:01"}]})", "hexadecimal"},
      {"{\"adapters\":[{" + adapter + "},{" + adapter + "}]}", "adapters[1].name: used twice"},
      {"{\"adapters\":[{" + adapter + ",\"channels\":[15]}]}", "channel numbers 1 to 14"},
      {"{\"adapters\":[{" + adapter + ",\"faults\":{\"vanishAt\":1}}]}", "unknown field \"vanishAt\""},
      {"{\"networks\":[{" + net + ",\"ssid\":\"" + std::string(33, 'x') + "\"}]}", "at most 32 bytes"},
      {"{\"networks\":[{" + net + ",\"security\":\"wep\"}]}", "needs a key at its key index"},
      {"{\"networks\":[{" + net + ",\"security\":\"wep\",\"wepKeys\":[\"01 02\"]}]}", "5, 13 or 29 bytes"},
      {"{\"networks\":[{" + net + ",\"security\":\"wpa2-psk\",\"passphrase\":\"short\"}]}", "8 to 63"},
      {"{\"networks\":[{" + net + ",\"security\":\"wpa3\"}]}", "unknown security"},
      {"{\"networks\":[{" + net + ",\"pairwise\":[\"tkip\"]}]}", "only WPA networks"},
      {"{\"networks\":[{" + net + ",\"phy\":\"a\"}]}", "networks[0].phy"},
      {"{\"networks\":[{" + net + ",\"signal\":[[100,-50],[50,-60]]}]}", "time order"},
      {"{\"networks\":[{" + net + ",\"signal\":-5}]}", "between -120 and -10"},
      {"{\"networks\":[{" + net + ",\"airFaults\":{\"loseToStation\":[0]}}]}", "frame numbers 1 to 1000"},
      {"{\"networks\":[{" + net + ",\"airFaults\":{\"dropToStation\":[1]}}]}", "unknown field \"dropToStation\""},
      {"{\"networks\":[{" + net + ",\"groupRekeyMs\":-1}]}", "networks[0].groupRekeyMs"},
      {R"({"networks":[{"bssid":"02:00:00:00:00:02","channel":15}]})", "not a 2.4 GHz or 5 GHz channel"},
      {R"({"stations":[{"mac":"02:00:00:00:00:03","joinAfterMs":-1}]})", "stations[0].joinAfterMs"},
      {R"({"stations":[{"mac":"02:00:00:00:00:03","bands":"6"}]})", "stations[0].bands"},
      {R"({"wzc":"maybe"})", "scenario.wzc"},
  };
  for (const Case& c : cases) {
    const ParseResult r = ParseScenario(c.json);
    EXPECT_FALSE(r.scenario.has_value()) << c.json;
    EXPECT_NE(r.error.find(c.expected), std::string::npos) << c.json << " gave: " << r.error;
  }
}

TEST(ScenarioTest, SsidBytesAndHexNumbersAreReadExactly) {
  const Scenario s = MustParse(R"({"adapters":[{"name":"a","instance":"0001","mac":"02-00-00-00-00-01",
      "driverVersion":"0x0102030A","rates":[2,4]}],
      "networks":[{"bssid":"020000000002","ssidHex":"00 FF E9","channel":36},
                  {"bssid":"02:00:00:00:00:03","ssid":"","channel":14,"phy":"b"}]})");
  ASSERT_EQ(s.networks.size(), 2u);
  EXPECT_EQ(s.networks[0].ssid, (Bytes{0x00, 0xFF, 0xE9}));
  EXPECT_EQ(s.networks[0].phyType, 2);
  EXPECT_TRUE(s.networks[1].ssid.empty());
  EXPECT_EQ(s.networks[1].phyType, 1);
  EXPECT_EQ(s.adapters[0].driverVersion, 0x0102030Au);
  EXPECT_EQ(s.adapters[0].rates, (Bytes{2, 4}));
}

class ScenarioFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vuzoza-scenario-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    unsetenv("VUZOZA_SCENARIO");
    std::filesystem::remove_all(dir_);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path) << text;
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(ScenarioFileTest, BrokenFileGivesAnErrorNamingItAndAnEmptyWorld) {
  const std::string path = Write("broken.json", R"({"adapters":[{"name":1}]})");
  setenv("VUZOZA_SCENARIO", path.c_str(), 1);
  const LoadResult r = LoadScenarioFromEnvironment();
  EXPECT_NE(r.error.find(path), std::string::npos) << r.error;
  EXPECT_NE(r.error.find("adapters[0].name: expected a string"), std::string::npos) << r.error;
  EXPECT_TRUE(r.scenario.adapters.empty());

  VirtualTime time;
  World world(r.scenario, time.clock());
  EXPECT_TRUE(world.ListAdapters(false).empty());
  EXPECT_EQ(world.DriverVersion(kUsbAdapter), -1);
}

TEST_F(ScenarioFileTest, MissingFileIsNamed) {
  const std::string path = (dir_ / "absent.json").string();
  setenv("VUZOZA_SCENARIO", path.c_str(), 1);
  const LoadResult r = LoadScenarioFromEnvironment();
  EXPECT_NE(r.error.find(path), std::string::npos);
  EXPECT_NE(r.error.find("cannot be read"), std::string::npos);
}

// Something that is no file, or a file too large to be a scenario: refused at once, without
// reading it to its end or waiting for a writer.
TEST_F(ScenarioFileTest, OnlyRegularFilesOfBoundedSizeAreRead) {
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string big = Write("big.json", "");
  std::filesystem::resize_file(big, kMaxScenarioFileBytes + 1);
  const std::string atLimit = Write("limit.json", R"({"adapters":[]})" + std::string(kMaxScenarioFileBytes - 15, ' '));
  struct Case {
    std::string path;
    const char* error;
  };
  const Case cases[] = {
      {"/dev/zero", "not a regular file"},
      {fifo, "not a regular file"},
      {dir_.string(), "not a regular file"},
      {big, "larger than 16 MB"},
      {atLimit, ""},
  };
  for (const Case& c : cases) {
    setenv("VUZOZA_SCENARIO", c.path.c_str(), 1);
    const LoadResult r = LoadScenarioFromEnvironment();
    if (*c.error == '\0') {
      EXPECT_EQ(r.error, "") << c.path;
    } else {
      EXPECT_NE(r.error.find(c.path + ": " + c.error), std::string::npos) << r.error;
    }
  }
}

TEST_F(ScenarioFileTest, NamedFileReplacesTheDefaultWorld) {
  const std::string path = Write("one.json", R"({"adapters":[{"name":"solo","instance":"0003","mac":"02:00:00:00:00:09"}]})");
  setenv("VUZOZA_SCENARIO", path.c_str(), 1);
  const LoadResult r = LoadScenarioFromEnvironment();
  EXPECT_EQ(r.error, "");
  ASSERT_EQ(r.scenario.adapters.size(), 1u);
  EXPECT_EQ(r.scenario.adapters[0].name, "solo");

  unsetenv("VUZOZA_SCENARIO");
  EXPECT_EQ(LoadScenarioFromEnvironment().scenario.adapters.size(), 2u);
}

}  // namespace
}  // namespace vuzoza::testing
