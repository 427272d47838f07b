#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::testing {

// How often part appears in text, overlaps included.
inline std::size_t occurrences(std::string_view text, std::string_view part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

}  // namespace velmora::testing
