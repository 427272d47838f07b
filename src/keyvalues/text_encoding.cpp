#include "keyvalues/text_encoding.hpp"

namespace velmora {

bool startsAsUtf16(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string utf16Refusal(std::string_view fileName) {
  return "velmora: " + std::string(fileName) +
         " is UTF-16 text; the server reads UTF-8: save it as UTF-8";
}

}  // namespace velmora
