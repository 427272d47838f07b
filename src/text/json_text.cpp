#include "text/json_text.hpp"

#include <algorithm>

#include "text/utf8.hpp"

namespace velmora {
namespace {

// The short escapes JSON has; every other control character is written as \u00XX.
std::string_view shortEscape(char c) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\b':
      return "\\b";
    case '\f':
      return "\\f";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      return {};
  }
}

void appendCharacter(std::string& json, std::string_view character) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  const char c = character[0];
  if (const std::string_view escape = shortEscape(c); !escape.empty()) {
    json += escape;
  } else if (static_cast<unsigned char>(c) < 0x20) {
    json.append("\\u00").append(1, kHex[(c >> 4) & 0xf]).append(1, kHex[c & 0xf]);
  } else {
    json += character;
  }
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string json = "\"";
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    if (length == 0) {
      utf8::append(json, utf8::kReplacementCharacter);
      text.remove_prefix(1);
    } else {
      appendCharacter(json, text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return json += '"';
}

std::string jsonArray(std::span<const std::string> elements, std::string_view indent) {
  if (elements.empty()) {
    return "[]";
  }
  std::string json = "[";
  for (const std::string& element : elements) {
    json.append(json.size() == 1 ? "\n" : ",\n").append(indent).append(element);
  }
  return json.append("\n")
      .append(indent.substr(std::min<std::size_t>(indent.size(), 2)))
      .append("]");
}

}  // namespace velmora
