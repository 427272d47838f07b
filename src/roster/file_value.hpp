#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "roster/admin_roster.hpp"

namespace velmora {

// A typed value sits between double quotes in the file: a double quote of its own would end
// it early, and a backslash would escape its closing quote in readers that know escapes.
// Either would leave the rest of the file unreadable, so both are written as look-alikes.
inline constexpr std::array<std::pair<char, char>, 2> kValueReplacements = {{
    {'"', '\''},
    {'\\', '/'},
}};

// typed, as the file holds it.
inline std::string fileValue(std::string_view typed) {
  std::string value(typed);
  for (const auto& [from, to] : kValueReplacements) {
    std::replace(value.begin(), value.end(), from, to);
  }
  return value;
}

// A typed name, STEAMID or IP address as the file holds it: kept by field to its length, cut
// between characters, then with " and \ as look-alikes. field keeps what was typed, so that
// the warnings can say what became of it.
inline std::string heldText(std::string_view typed, TextField& field) {
  field.assign(typed);
  return fileValue(field.view());
}

// Whether heldText keeps text as it is, and so has nothing to warn of: ASCII, short enough,
// and without a byte the file holds as a look-alike. Most texts are such, and are told apart
// without a copy.
inline bool heldAsTyped(std::string_view text) {
  return text.size() <= TextField::kMaxLength && std::all_of(text.begin(), text.end(), [](char c) {
           return static_cast<unsigned char>(c) < 0x80 &&
                  std::none_of(kValueReplacements.begin(), kValueReplacements.end(),
                               [c](const auto& replacement) { return replacement.first == c; });
         });
}

// Whether text can be a value at all: a line end or another control character cannot stand
// between its quotes (a tab can).
inline bool fitsInAValue(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
  });
}

}  // namespace velmora
