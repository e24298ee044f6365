#include "app/app_context.h"

namespace app {

AppContext::AppContext(const AppServices& given) : services(given), store(given.registry) {}

}  // namespace app
