#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velmora {

// text as a JSON string, quotes included (RFC 8259): bytes that form no UTF-8 character become
// U+FFFD, and quotes, backslashes and control characters are escaped, so the result is valid
// UTF-8 JSON whatever text holds.
std::string jsonString(std::string_view text);

// elements, each already JSON, as one array with an element on each line after indent, and the
// closing bracket on a line of its own, one level (two blanks) less indented; "[]" when empty.
std::string jsonArray(std::span<const std::string> elements, std::string_view indent);

}  // namespace velmora
