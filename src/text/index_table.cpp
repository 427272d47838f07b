#include "text/index_table.hpp"

#include <algorithm>
#include <bit>

namespace velmora {

void IndexTable::reset(std::size_t count) {
  bits_ = static_cast<unsigned>(std::bit_width(std::max<std::size_t>(count, 4) * 2 - 1));
  slots_.assign(std::size_t{1} << bits_, kFree);
}

// The high bits of a Fibonacci product: they depend on every bit of the hash.
std::size_t IndexTable::firstSlotOf(std::uint64_t hash) const {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15U) >> (64 - bits_));
}

}  // namespace velmora
