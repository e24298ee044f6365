#include "config/setting_keys.h"

namespace config {

namespace {
std::u16string Decimal(int number) {
  std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}
}  // namespace

std::u16string WepKeyName(int bits, int index) {
  return u"WEPKey" + Decimal(bits) + u"_" + Decimal(index);
}

std::u16string MacFilterAddrName(int index) { return u"MACFilterAddr" + Decimal(index); }

}  // namespace config
