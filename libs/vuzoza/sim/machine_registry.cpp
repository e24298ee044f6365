#include "libs/vuzoza/sim/machine_registry.h"

namespace vuzoza {
namespace {

// Scenario texts are bytes of the system code page, Latin-1 here: each byte is one character.
std::u16string Widen(const std::string& text) {
  std::u16string out;
  for (unsigned char c : text) out.push_back(c);
  return out;
}

}  // namespace

std::u16string AdapterClassKeyPath(const std::string& instance) {
  return u"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + Widen(instance);
}

platform::RegStatus SeedMachineRegistry(platform::Registry& registry, const Scenario& scenario) {
  using platform::RegRoot;
  using platform::RegStatus;
  using platform::RegValue;
  return registry.Batch([&](platform::Registry& r) {
    for (const AdapterSpec& a : scenario.adapters) {
      const std::u16string key = AdapterClassKeyPath(a.instance);
      const std::pair<const char16_t*, std::string> values[] = {
          {u"MatchingDeviceId", a.hardwareId}, {u"DriverDesc", a.description}, {u"NetCfgInstanceId", a.name}};
      for (const auto& [name, text] : values) {
        const RegStatus s = r.SetValue(RegRoot::LocalMachine, key, name, RegValue::Text(Widen(text)));
        if (s != RegStatus::Ok) return s;
      }
    }
    return RegStatus::Ok;
  });
}

}  // namespace vuzoza
