#include "config/setting_keys.h"

#include "platform/text/text.h"

namespace config {

std::u16string WepKeyName(int bits, int index) {
  return platform::Format(u"WEPKey%d_%d", bits, index);
}

std::u16string MacFilterAddrName(int index) { return platform::Format(u"MACFilterAddr%d", index); }

}  // namespace config
