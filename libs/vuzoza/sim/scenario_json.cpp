// Scenario JSON reader. Strict: unknown keys and wrong types are errors, so a typo in a scenario
// shows up at once instead of silently changing the world.

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "libs/vuzoza/sim/radio.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {
namespace {

using nlohmann::json;

struct ScenarioError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw ScenarioError(where + ": " + what);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex bytes written as pairs, optionally separated by blanks, ':' or '-'.
Bytes ParseHex(const std::string& where, const std::string& text) {
  Bytes out;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == ':' || c == '-') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size() || HexDigit(c) < 0 || HexDigit(text[i + 1]) < 0) {
      // The text itself is not echoed: it may be a key.
      Fail(where, "expected hexadecimal byte pairs");
    }
    out.push_back(static_cast<std::uint8_t>(HexDigit(c) * 16 + HexDigit(text[i + 1])));
    i += 2;
  }
  return out;
}

class Object {
 public:
  Object(const json& value, std::string where) : value_(value), where_(std::move(where)) {
    if (!value_.is_object()) Fail(where_, "expected an object");
  }

  // Call once all known keys were read: anything left is a typo or an unsupported field.
  void RejectUnknown(std::initializer_list<std::string_view> known) const {
    for (auto it = value_.begin(); it != value_.end(); ++it) {
      bool ok = false;
      for (auto k : known) ok = ok || it.key() == k;
      if (!ok) Fail(where_, "unknown field \"" + it.key() + "\"");
    }
  }

  bool Has(const char* key) const { return value_.contains(key); }
  std::string Where(const char* key) const { return where_ + "." + key; }
  const json& At(const char* key) const { return value_.at(key); }

  std::string String(const char* key, std::string fallback) const {
    if (!Has(key)) return fallback;
    if (!At(key).is_string()) Fail(Where(key), "expected a string");
    return At(key).get<std::string>();
  }
  std::string RequiredString(const char* key) const {
    if (!Has(key)) Fail(Where(key), "missing");
    return String(key, {});
  }
  std::int64_t Integer(const char* key, std::int64_t fallback, std::int64_t min, std::int64_t max) const {
    if (!Has(key)) return fallback;
    const json& v = At(key);
    std::int64_t n = 0;
    if (v.is_number_integer()) {
      n = v.get<std::int64_t>();
    } else if (v.is_string() && v.get<std::string>().rfind("0x", 0) == 0) {
      // Version words read best in hexadecimal.
      const std::string s = v.get<std::string>();
      char* end = nullptr;
      n = static_cast<std::int64_t>(std::strtoull(s.c_str() + 2, &end, 16));
      if (s.size() <= 2 || s.size() > 18 || *end != '\0') Fail(Where(key), "bad hexadecimal number");
    } else {
      Fail(Where(key), "expected an integer");
    }
    if (n < min || n > max) {
      Fail(Where(key), "must be between " + std::to_string(min) + " and " + std::to_string(max));
    }
    return n;
  }
  bool Boolean(const char* key, bool fallback) const {
    if (!Has(key)) return fallback;
    if (!At(key).is_boolean()) Fail(Where(key), "expected true or false");
    return At(key).get<bool>();
  }
  const json& Array(const char* key) const {
    static const json empty = json::array();
    if (!Has(key)) return empty;
    if (!At(key).is_array()) Fail(Where(key), "expected an array");
    return At(key);
  }

 private:
  const json& value_;
  std::string where_;
};

Mac ParseMac(const std::string& where, const std::string& text) {
  Bytes b = ParseHex(where, text);
  if (b.size() != 6) Fail(where, "expected 6 address bytes");
  Mac mac;
  std::copy(b.begin(), b.end(), mac.begin());
  return mac;
}

std::vector<std::string> StringList(const Object& o, const char* key) {
  std::vector<std::string> out;
  for (const json& v : o.Array(key)) {
    if (!v.is_string()) Fail(o.Where(key), "expected strings");
    out.push_back(v.get<std::string>());
  }
  return out;
}

std::vector<std::uint8_t> ChannelList(const Object& o, const char* key, bool five) {
  std::vector<std::uint8_t> out;
  for (const json& v : o.Array(key)) {
    if (!v.is_number_integer() || !IsValidChannel(v.get<std::int64_t>(), five)) {
      Fail(o.Where(key), five ? "expected 5 GHz channel numbers" : "expected channel numbers 1 to 14");
    }
    out.push_back(static_cast<std::uint8_t>(v.get<int>()));
  }
  return out;
}

Bytes RateList(const Object& o, const char* key, const Bytes& fallback) {
  if (!o.Has(key)) return fallback;
  Bytes out;
  if (o.At(key).is_string()) {
    out = ParseHex(o.Where(key), o.At(key).get<std::string>());
  } else {
    for (const json& v : o.Array(key)) {
      if (!v.is_number_integer() || v.get<std::int64_t>() < 1 || v.get<std::int64_t>() > 255) {
        Fail(o.Where(key), "expected rate codes 1 to 255");
      }
      out.push_back(static_cast<std::uint8_t>(v.get<int>()));
    }
  }
  if (out.empty() || out.size() > 16) Fail(o.Where(key), "expected 1 to 16 rates");
  for (auto r : out) {
    if (r == 0) Fail(o.Where(key), "a rate code of 0 is not allowed");
  }
  return out;
}

// SSID as UTF-8 text ("ssid") or as raw bytes ("ssidHex").
std::optional<Bytes> Ssid(const Object& o) {
  std::optional<Bytes> out;
  if (o.Has("ssid") && o.Has("ssidHex")) Fail(o.Where("ssid"), "give either ssid or ssidHex");
  if (o.Has("ssid")) {
    std::string s = o.String("ssid", {});
    out = Bytes(s.begin(), s.end());
  } else if (o.Has("ssidHex")) {
    out = ParseHex(o.Where("ssidHex"), o.String("ssidHex", {}));
  }
  if (out && out->size() > 32) Fail(o.Where("ssid"), "an SSID has at most 32 bytes");
  return out;
}

Bands ParseBands(const Object& o, const char* fallback) {
  std::string b = o.String("bands", fallback);
  if (b == "2.4") return Bands::Band24;
  if (b == "5") return Bands::Band5;
  if (b == "both") return Bands::Both;
  Fail(o.Where("bands"), "expected \"2.4\", \"5\" or \"both\"");
}

AdapterFaults ParseFaults(const Object& parent) {
  AdapterFaults f;
  if (!parent.Has("faults")) return f;
  Object o(parent.At("faults"), parent.Where("faults"));
  o.RejectUnknown({"failingQueries", "refusedSetters", "vanishAtMs", "vanishForMs", "silentFromMs"});
  f.failingQueries = StringList(o, "failingQueries");
  f.refusedSetters = StringList(o, "refusedSetters");
  constexpr std::int64_t kDay = 86'400'000;
  if (o.Has("vanishAtMs")) f.vanishAtMs = o.Integer("vanishAtMs", 0, 0, kDay);
  f.vanishForMs = o.Integer("vanishForMs", 0, 0, kDay);
  if (o.Has("silentFromMs")) f.silentFromMs = o.Integer("silentFromMs", 0, 0, kDay);
  return f;
}

AdapterSpec ParseAdapter(const json& value, const std::string& where) {
  Object o(value, where);
  o.RejectUnknown({"name", "description", "instance", "hardwareId", "mac", "wireless", "chip", "bands",
                   "channels", "channels5", "rates", "adhocRateMode", "region", "driverVersion", "answers",
                   "faults"});
  AdapterSpec a;
  a.name = o.RequiredString("name");
  if (a.name.empty() || a.name.size() > 259) Fail(o.Where("name"), "expected 1 to 259 characters");
  a.description = o.String("description", a.name);
  if (a.description.size() > 259) Fail(o.Where("description"), "at most 259 characters");
  a.instance = o.RequiredString("instance");
  if (a.instance.size() != 4 || a.instance.find_first_not_of("0123456789") != std::string::npos) {
    Fail(o.Where("instance"), "expected four decimal digits");
  }
  a.hardwareId = o.String("hardwareId", "");
  if (a.hardwareId.size() > 200) Fail(o.Where("hardwareId"), "too long");
  a.mac = ParseMac(o.Where("mac"), o.RequiredString("mac"));
  a.wireless = o.Boolean("wireless", true);
  a.chip = static_cast<int>(o.Integer("chip", 1, 1, 5));
  a.bands = ParseBands(o, "2.4");
  a.channels24 = ChannelList(o, "channels", false);
  a.channels5 = ChannelList(o, "channels5", true);
  if (a.channels24.empty() && a.bands != Bands::Band5) a.channels24 = DefaultChannels24();
  if (a.channels5.empty() && a.bands != Bands::Band24) a.channels5 = DefaultChannels5();
  a.rates = RateList(o, "rates", a.bands == Bands::Band5 ? DefaultRates5() : DefaultRates24());
  a.adhocRateMode = static_cast<int>(o.Integer("adhocRateMode", 1, 0, 2));
  a.region = static_cast<int>(o.Integer("region", 0, 0, 255));
  a.driverVersion = static_cast<std::uint32_t>(o.Integer("driverVersion", 0x01000000, 0, 0xFFFFFFFE));
  a.answers = o.Boolean("answers", true);
  a.faults = ParseFaults(o);
  return a;
}

Security ParseSecurity(const Object& o) {
  static const std::pair<const char*, Security> kNames[] = {
      {"open", Security::Open},          {"wep", Security::Wep},
      {"wpa-psk", Security::WpaPsk},     {"wpa2-psk", Security::Wpa2Psk},
      {"wpa-wpa2-psk", Security::WpaWpa2Psk}, {"wpa-eap", Security::WpaEap},
      {"wpa2-eap", Security::Wpa2Eap},   {"dot1x-wep", Security::Dot1xWep}};
  std::string s = o.String("security", "open");
  for (const auto& [name, value] : kNames) {
    if (s == name) return value;
  }
  Fail(o.Where("security"), "unknown security \"" + s + "\"");
}

Cipher ParseCipher(const std::string& where, const json& v) {
  if (v.is_string() && v.get<std::string>() == "tkip") return Cipher::Tkip;
  if (v.is_string() && v.get<std::string>() == "ccmp") return Cipher::Ccmp;
  Fail(where, "expected \"tkip\" or \"ccmp\"");
}

bool IsWpa2Only(Security s) { return s == Security::Wpa2Psk || s == Security::Wpa2Eap; }
bool IsPsk(Security s) {
  return s == Security::WpaPsk || s == Security::Wpa2Psk || s == Security::WpaWpa2Psk;
}

std::vector<SignalPoint> ParseSignal(const Object& o) {
  if (!o.Has("signal")) return {{0, -60}};
  const json& v = o.At("signal");
  auto dbm = [&](const json& x) {
    if (!x.is_number_integer() || x.get<std::int64_t>() < -120 || x.get<std::int64_t>() > -10) {
      Fail(o.Where("signal"), "expected dBm values between -120 and -10");
    }
    return x.get<int>();
  };
  if (v.is_number_integer()) return {{0, dbm(v)}};
  if (!v.is_array() || v.empty()) Fail(o.Where("signal"), "expected dBm or a list of [ms, dBm] points");
  std::vector<SignalPoint> out;
  for (const json& p : v) {
    if (!p.is_array() || p.size() != 2 || !p[0].is_number_integer() || p[0].get<std::int64_t>() < 0) {
      Fail(o.Where("signal"), "expected [ms, dBm] points");
    }
    SignalPoint sp{p[0].get<std::int64_t>(), dbm(p[1])};
    if (!out.empty() && sp.atMs <= out.back().atMs) Fail(o.Where("signal"), "points must be in time order");
    out.push_back(sp);
  }
  return out;
}

std::vector<int> FrameNumbers(const Object& o, const char* key) {
  std::vector<int> out;
  for (const json& v : o.Array(key)) {
    if (!v.is_number_integer() || v.get<std::int64_t>() < 1 || v.get<std::int64_t>() > 1000) {
      Fail(o.Where(key), "expected frame numbers 1 to 1000");
    }
    out.push_back(static_cast<int>(v.get<std::int64_t>()));
  }
  return out;
}

bool IsEnterprise(Security s) {
  return s == Security::WpaEap || s == Security::Wpa2Eap || s == Security::Dot1xWep;
}

RadiusServerSpec ParseRadius(const Object& o) {
  o.RejectUnknown({"address", "port", "secret", "timeoutMs", "tries"});
  RadiusServerSpec r;
  r.address = o.String("address", r.address);
  r.port = static_cast<int>(o.Integer("port", r.port, 1, 65535));
  r.secret = o.RequiredString("secret");
  if (r.secret.empty()) Fail(o.Where("secret"), "a shared secret is needed");
  r.timeoutMs = static_cast<int>(o.Integer("timeoutMs", r.timeoutMs, 10, 60'000));
  r.tries = static_cast<int>(o.Integer("tries", r.tries, 1, 10));
  return r;
}

AirFaults ParseAirFaults(const Object& o) {
  o.RejectUnknown({"loseToStation", "loseFromStation", "repeatToStation", "forgeMicToStation", "message3Element"});
  return {FrameNumbers(o, "loseToStation"), FrameNumbers(o, "loseFromStation"), FrameNumbers(o, "repeatToStation"),
          FrameNumbers(o, "forgeMicToStation"),
          ParseHex(o.Where("message3Element"), o.String("message3Element", ""))};
}

NetworkSpec ParseNetwork(const json& value, const std::string& where) {
  Object o(value, where);
  o.RejectUnknown({"bssid", "ssid", "ssidHex", "hidden", "channel", "mode", "phy", "security", "pairwise",
                   "group", "wepKeys", "wepKeyIndex", "passphrase", "users", "signal", "signalSwing",
                   "rates", "groupRekeyMs", "airFaults", "radius"});
  NetworkSpec n;
  n.bssid = ParseMac(o.Where("bssid"), o.RequiredString("bssid"));
  n.ssid = Ssid(o).value_or(Bytes{});
  n.hidden = o.Boolean("hidden", false);
  n.channel = static_cast<int>(o.Integer("channel", 1, 1, 196));
  if (!IsValidChannel(n.channel, false) && !IsValidChannel(n.channel, true)) {
    Fail(o.Where("channel"), "not a 2.4 GHz or 5 GHz channel");
  }
  const bool five = IsValidChannel(n.channel, true);
  std::string mode = o.String("mode", "infrastructure");
  if (mode != "infrastructure" && mode != "adhoc") Fail(o.Where("mode"), "expected infrastructure or adhoc");
  n.adhoc = mode == "adhoc";
  std::string phy = o.String("phy", five ? "a" : "g");
  if (phy == "b" && !five) {
    n.phyType = 1;
  } else if (phy == "g" && !five) {
    n.phyType = 3;
  } else if (phy == "a" && five) {
    n.phyType = 2;
  } else {
    Fail(o.Where("phy"), "expected b or g on 2.4 GHz, a on 5 GHz");
  }
  n.security = ParseSecurity(o);
  const bool wpa = n.security != Security::Open && n.security != Security::Wep && n.security != Security::Dot1xWep;
  if (wpa) {
    for (const json& c : o.Array("pairwise")) n.pairwise.push_back(ParseCipher(o.Where("pairwise"), c));
    if (n.pairwise.empty()) {
      if (n.security == Security::WpaWpa2Psk) {
        n.pairwise = {Cipher::Ccmp, Cipher::Tkip};
      } else {
        n.pairwise = {IsWpa2Only(n.security) ? Cipher::Ccmp : Cipher::Tkip};
      }
    }
    n.group = o.Has("group") ? ParseCipher(o.Where("group"), o.At("group"))
              : IsWpa2Only(n.security) && n.pairwise.size() == 1 && n.pairwise[0] == Cipher::Ccmp
                  ? Cipher::Ccmp
                  : Cipher::Tkip;
  } else if (o.Has("pairwise") || o.Has("group")) {
    Fail(o.Where("pairwise"), "only WPA networks have cipher suites");
  }
  const json& keys = o.Array("wepKeys");
  if (keys.size() > 4) Fail(o.Where("wepKeys"), "at most 4 keys");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (!keys[i].is_string()) Fail(o.Where("wepKeys"), "expected hexadecimal key texts");
    n.wepKeys[i] = ParseHex(o.Where("wepKeys"), keys[i].get<std::string>());
    const auto len = n.wepKeys[i].size();
    if (len != 0 && len != 5 && len != 13 && len != 29) Fail(o.Where("wepKeys"), "keys have 5, 13 or 29 bytes");
  }
  n.wepKeyIndex = static_cast<int>(o.Integer("wepKeyIndex", 0, 0, 3));
  if (n.security == Security::Wep && n.wepKeys[n.wepKeyIndex].empty()) {
    Fail(o.Where("wepKeys"), "a WEP network needs a key at its key index");
  }
  n.passphrase = o.String("passphrase", "");
  if (IsPsk(n.security) && (n.passphrase.size() < 8 || n.passphrase.size() > 63)) {
    Fail(o.Where("passphrase"), "a pre-shared key network needs a pass phrase of 8 to 63 characters");
  }
  for (const json& u : o.Array("users")) {
    Object uo(u, o.Where("users"));
    uo.RejectUnknown({"identity", "password"});
    n.users.push_back({uo.RequiredString("identity"), uo.String("password", "")});
  }
  if (o.Has("radius")) {
    if (!IsEnterprise(n.security)) Fail(o.Where("radius"), "only enterprise networks have a RADIUS server");
    n.radius = ParseRadius(Object(o.At("radius"), o.Where("radius")));
  }
  n.groupRekeyMs = o.Integer("groupRekeyMs", n.groupRekeyMs, 0, 86'400'000);
  if (o.Has("airFaults")) n.airFaults = ParseAirFaults(Object(o.At("airFaults"), o.Where("airFaults")));
  n.signal = ParseSignal(o);
  n.signalSwing = static_cast<int>(o.Integer("signalSwing", 2, 0, 20));
  n.rates = RateList(o, "rates", five ? DefaultRates5() : n.phyType == 1 ? DefaultRates11b() : DefaultRates24());
  return n;
}

StationSpec ParseStation(const json& value, const std::string& where) {
  Object o(value, where);
  o.RejectUnknown({"mac", "joinAfterMs", "leaveAfterMs", "ssid", "ssidHex", "wepKey", "bands"});
  StationSpec s;
  s.mac = ParseMac(o.Where("mac"), o.RequiredString("mac"));
  constexpr std::int64_t kDay = 86'400'000;
  s.joinAfterMs = o.Integer("joinAfterMs", 0, 0, kDay);
  if (o.Has("leaveAfterMs")) s.leaveAfterMs = o.Integer("leaveAfterMs", 0, 0, kDay);
  s.ssid = Ssid(o);
  if (o.Has("wepKey")) s.wepKey = ParseHex(o.Where("wepKey"), o.String("wepKey", ""));
  s.bands = ParseBands(o, "both");
  return s;
}

Scenario ParseRoot(const json& root) {
  Object o(root, "scenario");
  o.RejectUnknown({"comment", "adapters", "networks", "stations", "wzc", "pnpWait"});
  Scenario s;
  const json& adapters = o.Array("adapters");
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    s.adapters.push_back(ParseAdapter(adapters[i], "adapters[" + std::to_string(i) + "]"));
    for (std::size_t j = 0; j < i; ++j) {
      if (s.adapters[j].name == s.adapters[i].name) {
        Fail("adapters[" + std::to_string(i) + "].name", "used twice");
      }
    }
  }
  const json& networks = o.Array("networks");
  for (std::size_t i = 0; i < networks.size(); ++i) {
    s.networks.push_back(ParseNetwork(networks[i], "networks[" + std::to_string(i) + "]"));
  }
  const json& stations = o.Array("stations");
  for (std::size_t i = 0; i < stations.size(); ++i) {
    s.stations.push_back(ParseStation(stations[i], "stations[" + std::to_string(i) + "]"));
  }
  std::string wzc = o.String("wzc", "stopped");
  if (wzc == "stopped") {
    s.wzc = WzcState::Stopped;
  } else if (wzc == "running") {
    s.wzc = WzcState::Running;
  } else if (wzc == "absent") {
    s.wzc = WzcState::Absent;
  } else {
    Fail(o.Where("wzc"), "expected stopped, running or absent");
  }
  s.pnpWait = o.Boolean("pnpWait", false);
  return s;
}

}  // namespace

ParseResult ParseScenario(std::string_view text) {
  ParseResult result;
  try {
    json root = json::parse(text.begin(), text.end());
    result.scenario = ParseRoot(root);
  } catch (const json::parse_error& e) {
    // Only the position: the parser's own text quotes the input, which may hold pass phrases.
    result.error = "not valid JSON (byte " + std::to_string(e.byte) + ")";
  } catch (const json::exception& e) {
    result.error = "not valid JSON";
  } catch (const ScenarioError& e) {
    result.error = e.what();
  }
  return result;
}

LoadResult LoadScenarioFile(const std::string& path) {
  LoadResult out;
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (!in) {
    out.error = "scenario file " + path + ": cannot be read";
    return out;
  }
  ParseResult parsed = ParseScenario(text.str());
  if (!parsed.scenario) {
    out.error = "scenario file " + path + ": " + parsed.error;
    return out;
  }
  out.scenario = std::move(*parsed.scenario);
  return out;
}

LoadResult LoadScenarioFromEnvironment() {
  const char* path = std::getenv("VUZOZA_SCENARIO");
  if (path != nullptr && *path != '\0') return LoadScenarioFile(path);
  ParseResult parsed = ParseScenario(DefaultScenarioJson());
  LoadResult out;
  if (parsed.scenario) {
    out.scenario = std::move(*parsed.scenario);
  } else {
    out.error = "built-in scenario: " + parsed.error;
  }
  return out;
}

}  // namespace vuzoza
