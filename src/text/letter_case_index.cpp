#include "text/letter_case_index.hpp"

#include <algorithm>
#include <bit>
#include <limits>
#include <utility>

#include "text/letter_case.hpp"

namespace velmora {
namespace {

constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();

}  // namespace

LetterCaseAsideIndex::LetterCaseAsideIndex(std::vector<std::string_view> names)
    : names_(std::move(names)), hashes_(names_.size()), first_(names_.size()) {
  // At most half full, so that a look seldom goes past a few slots.
  bits_ = static_cast<unsigned>(std::bit_width(std::max<std::size_t>(names_.size(), 4) * 2 - 1));
  table_.assign(std::size_t{1} << bits_, kFree);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    hashes_[i] = letterCaseAsideHash(names_[i]);
    std::size_t slot = slotOf(hashes_[i]);
    while (table_[slot] != kFree && !(hashes_[table_[slot]] == hashes_[i] &&
                                      sameLetterCaseAside(names_[table_[slot]], names_[i]))) {
      slot = (slot + 1) & (table_.size() - 1);
    }
    if (table_[slot] == kFree) {
      table_[slot] = static_cast<std::uint32_t>(i);
    }
    first_[i] = table_[slot];
  }
}

std::optional<std::size_t> LetterCaseAsideIndex::find(std::string_view name) const {
  const std::uint64_t hash = letterCaseAsideHash(name);
  for (std::size_t slot = slotOf(hash); table_[slot] != kFree;
       slot = (slot + 1) & (table_.size() - 1)) {
    if (hashes_[table_[slot]] == hash && sameLetterCaseAside(names_[table_[slot]], name)) {
      return table_[slot];
    }
  }
  return std::nullopt;
}

// The high bits of a Fibonacci product: they depend on every bit of the hash.
std::size_t LetterCaseAsideIndex::slotOf(std::uint64_t hash) const {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15U) >> (64 - bits_));
}

}  // namespace velmora
