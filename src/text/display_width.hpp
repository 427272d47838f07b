#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// How many columns a terminal gives the character point: 0 for combining marks and
// zero-width characters, 2 for East Asian Wide and Fullwidth characters and emoji, 1 otherwise.
std::size_t columnsOf(char32_t point);

// How many columns text takes on a terminal; a byte that forms no UTF-8 character takes one.
std::size_t displayWidth(std::string_view text);

}  // namespace velmora
