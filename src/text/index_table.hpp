#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace velmora {

// An open table of the indexes of a list's items, found by a hash of the item and a test of
// sameness the caller gives: a list of many items costs no allocation per item. The caller
// keeps the items and their hashes; the table only their indexes.
class IndexTable {
 public:
  static constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();

  // Room for count indexes, the table emptied. At most half full, so that a look seldom goes
  // past a few slots. Indexes are 32 bits wide: half the room, for more items than any file holds.
  void reset(std::size_t count);

  // The slot of hash that holds an index isSame takes as the same item, or else the free slot
  // where such an index would go.
  template <class IsSame>
  [[nodiscard]] std::size_t slotOf(std::uint64_t hash, IsSame isSame) const {
    std::size_t slot = firstSlotOf(hash);
    while (slots_[slot] != kFree && !isSame(slots_[slot])) {
      slot = (slot + 1) & (slots_.size() - 1);
    }
    return slot;
  }

  [[nodiscard]] std::uint32_t& operator[](std::size_t slot) { return slots_[slot]; }
  [[nodiscard]] std::uint32_t operator[](std::size_t slot) const { return slots_[slot]; }

 private:
  [[nodiscard]] std::size_t firstSlotOf(std::uint64_t hash) const;

  std::vector<std::uint32_t> slots_;
  unsigned bits_ = 0;
};

}  // namespace velmora
