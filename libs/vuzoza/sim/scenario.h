#pragma once
// The simulated world as a scenario describes it: adapters, the networks on the air, the stations
// that try to join our soft access point, and the fault knobs. Plain data; the behaviour lives in
// World. Times are milliseconds of the program's clock since the world started.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vuzoza {

using Mac = std::array<std::uint8_t, 6>;
using Pmkid = std::array<std::uint8_t, 16>;
using Bytes = std::vector<std::uint8_t>;

enum class Bands { Band24, Band5, Both };

// Faults of one adapter.
struct AdapterFaults {
  std::vector<std::string> failingQueries;  // export names answering -1
  std::vector<std::string> refusedSetters;  // export names answering -1
  std::optional<std::int64_t> vanishAtMs;   // the adapter disappears ...
  std::int64_t vanishForMs = 0;             // ... and comes back this much later (0: never)
  std::optional<std::int64_t> silentFromMs; // the driver stops answering from then on
};

struct AdapterSpec {
  std::string name;         // the name the library opens it by
  std::string description;
  std::string instance;     // four decimal digits
  std::string hardwareId;
  Mac mac{};
  bool wireless = true;     // false: another network adapter, only offered for bridging
  int chip = 1;             // 1 to 5
  Bands bands = Bands::Band24;
  std::vector<std::uint8_t> channels24;
  std::vector<std::uint8_t> channels5;
  Bytes rates;              // up to 16 rate codes, bit 7 = basic
  int adhocRateMode = 1;    // 0 only 802.11b rates, 1 all, 2 all but 802.11b
  int region = 0;
  std::uint32_t driverVersion = 0;
  bool answers = true;      // false: the driver never answers
  AdapterFaults faults;
};

// Dot1xWep: 802.1X with WEP keys the access point sends after the authentication.
enum class Security { Open, Wep, WpaPsk, Wpa2Psk, WpaWpa2Psk, WpaEap, Wpa2Eap, Dot1xWep };

// Cipher suite types as they appear in WPA and RSN elements.
enum class Cipher : std::uint8_t { Tkip = 2, Ccmp = 4 };

struct EapUser {
  std::string identity;
  std::string password;
};

// The RADIUS server an enterprise network's access point relays EAP to. Its timeout is real
// time: the server is a real process, whatever clock the program runs on.
struct RadiusServerSpec {
  std::string address = "127.0.0.1";  // IPv4 or IPv6 literal
  int port = 1812;
  std::string secret;
  int timeoutMs = 1000;  // before a request is sent again
  int tries = 3;         // sends of one request in all
};

// Signal strength at a moment; the world interpolates between points and adds a slow swing.
struct SignalPoint {
  std::int64_t atMs = 0;
  int dbm = -60;
};

// What the air does to the EAPOL frames of one association, by frame number (1 = the first frame
// in that direction since the association, EAPOL-Start included). For tests of retransmission,
// replay and forgery handling.
struct AirFaults {
  std::vector<int> loseToStation;
  std::vector<int> loseFromStation;
  std::vector<int> repeatToStation;     // delivered twice, unchanged
  std::vector<int> forgeMicToStation;   // a byte of the key frame's integrity code flipped
  // When set, message 3 carries this element instead of the one the beacon announces, as a
  // forged downgrade would.
  Bytes message3Element;
};

struct NetworkSpec {
  Mac bssid{};
  Bytes ssid;               // the real SSID, 0 to 32 bytes of any value
  bool hidden = false;      // beacons carry an empty SSID
  int channel = 1;
  bool adhoc = false;
  int phyType = 3;          // 802.11 physical type in use: 1 DS, 2 OFDM 5 GHz, 3 OFDM 2.4 GHz
  Security security = Security::Open;
  std::vector<Cipher> pairwise;  // WPA family; empty for open and WEP
  Cipher group = Cipher::Tkip;
  std::array<Bytes, 4> wepKeys;  // WEP: keys by index (5 or 13 bytes)
  int wepKeyIndex = 0;           // WEP: the key index the access point transmits with
  std::string passphrase;        // WPA pre-shared key networks
  std::vector<EapUser> users;    // enterprise networks
  std::optional<RadiusServerSpec> radius;  // enterprise networks: where EAP is relayed to
  std::int64_t groupRekeyMs = 600'000;  // WPA family: a new group key this often (0: never)
  AirFaults airFaults;
  std::vector<SignalPoint> signal;  // at least one point
  int signalSwing = 2;           // dB of slow up-and-down around the track
  Bytes rates;                   // rate codes offered, bit 7 = basic
};

// A station that tries to join our soft access point.
struct StationSpec {
  Mac mac{};
  std::int64_t joinAfterMs = 0;      // after the access point came up
  std::optional<std::int64_t> leaveAfterMs;
  std::optional<Bytes> ssid;         // the SSID it looks for; none: ours, whatever it is
  std::optional<Bytes> wepKey;       // the key it knows; none: our default key
  Bands bands = Bands::Both;         // the bands its radio offers
};

enum class WzcState { Stopped, Running, Absent };

struct Scenario {
  std::vector<AdapterSpec> adapters;
  std::vector<NetworkSpec> networks;
  std::vector<StationSpec> stations;
  WzcState wzc = WzcState::Stopped;
  bool pnpWait = false;  // the driver asks for the start-up wait before PCI adapters are opened
};

struct ParseResult {
  std::optional<Scenario> scenario;
  std::string error;  // set when scenario is empty
};

// Parses scenario JSON. Never throws; errors name the offending field.
ParseResult ParseScenario(std::string_view json);

// The built-in world used when no scenario file is named.
std::string_view DefaultScenarioJson();

// Reads the scenario named by $VUZOZA_SCENARIO, or the default one. A file that cannot be read
// or parsed gives an error naming the file, and an empty world.
struct LoadResult {
  Scenario scenario;
  std::string error;
};
LoadResult LoadScenarioFromEnvironment();
LoadResult LoadScenarioFile(const std::string& path);

}  // namespace vuzoza
