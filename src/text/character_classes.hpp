#pragma once

#include <algorithm>
#include <string_view>

// The character classes that answers and files are read by. Each is written so that a
// compiler can test many bytes at once.
namespace velmora {

// Blank, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool isWhiteSpace(char c) {
  return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t';
}

constexpr bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// One or more digits and nothing else.
constexpr bool isAllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// A control character other than white space: C0 controls and DEL.
constexpr bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && !isWhiteSpace(c)) || byte == 0x7f;
}

}  // namespace velmora
