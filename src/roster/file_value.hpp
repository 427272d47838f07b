#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

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

}  // namespace velmora
