#include "text/shown.hpp"

#include "text/utf8.hpp"

namespace velmora {

std::string shown(std::string_view text) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string result;
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    const auto byte = static_cast<unsigned char>(text[0]);
    if (length == 0 || byte < 0x20 || byte == 0x7f) {
      result.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xf]);
      text.remove_prefix(1);
    } else {
      result.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return result;
}

}  // namespace velmora
