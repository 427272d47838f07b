#include "text/display_width.hpp"

#include <algorithm>
#include <iterator>

#include "text/display_width_table.hpp"
#include "text/utf8.hpp"

namespace velmora {
namespace {

template <std::size_t N>
bool within(const width::CodePointRange (&ranges)[N], char32_t point) {
  // The first range that begins after point; the one before it is the only one that can hold it.
  const auto* after = std::upper_bound(
      std::begin(ranges), std::end(ranges), point,
      [](char32_t wanted, const width::CodePointRange& range) { return wanted < range.first; });
  return after != std::begin(ranges) && point <= std::prev(after)->last;
}

}  // namespace

std::size_t columnsOf(char32_t point) {
  if (within(width::kZeroWidth, point)) {
    return 0;
  }
  return within(width::kDoubleWidth, point) ? 2 : 1;
}

std::size_t displayWidth(std::string_view text) {
  std::size_t columns = 0;
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    columns += length == 0 ? 1 : columnsOf(utf8::decode(text, length));
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return columns;
}

}  // namespace velmora
