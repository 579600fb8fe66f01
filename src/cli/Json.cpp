#include "cli/Json.h"

namespace fixtally {

std::string JsonText(const Json& value) {
    return value.dump(2, ' ', false, Json::error_handler_t::replace);
}

} // namespace fixtally
