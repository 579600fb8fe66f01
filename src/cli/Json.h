#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace fixtally {

// fixtally-cli's JSON values; objects keep their members in the order they were set, so
// the result fields come in the order of the window.
using Json = nlohmann::ordered_json;

// The text of a JSON value, two spaces a level, without a final line end. NaN and
// infinities are null; bytes that are not UTF-8 (a Latin-1 file name) become U+FFFD, so
// the text is always JSON.
std::string JsonText(const Json& value);

} // namespace fixtally
