#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace velmora {

// JSON as scripts read it: an object keeps its members in the order they were put in.
using Json = nlohmann::ordered_json;

// value as one line of JSON text. Bytes that form no UTF-8 character become U+FFFD, so the
// text is valid UTF-8 JSON whatever the values hold.
std::string jsonText(const Json& value);

}  // namespace velmora
