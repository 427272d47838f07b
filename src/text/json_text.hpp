#pragma once

#include <string>
#include <string_view>

namespace velmora {

// text as a JSON string, quotes included (RFC 8259): bytes that form no UTF-8 character become
// U+FFFD, and quotes, backslashes and control characters are escaped, so the result is valid
// UTF-8 JSON whatever text holds.
std::string jsonString(std::string_view text);

}  // namespace velmora
