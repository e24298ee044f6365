#include "app/app_context.h"

namespace app {

adapter::AdapterHandle NoAdapter() {
  adapter::AdapterHandle none{};
  none.handle = -1;
  return none;
}

AppContext::AppContext(const AppServices& given) : services(given), store(given.registry) {}

}  // namespace app
