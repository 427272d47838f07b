#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velmora {

// Where each of a list of names stands in the list, found by a name, letter case aside, as the
// server looks names up. An open table of indexes: a list of many names costs no allocation
// per name. The names are views, which must outlive the index.
class LetterCaseAsideIndex {
 public:
  explicit LetterCaseAsideIndex(std::vector<std::string_view> names);
  LetterCaseAsideIndex() : LetterCaseAsideIndex(std::vector<std::string_view>{}) {}

  // The index of the first name that is name, letter case aside; empty when none is.
  [[nodiscard]] std::optional<std::size_t> find(std::string_view name) const;
  // The index of the first name that is the one at index, letter case aside: index itself
  // unless an earlier name is the same.
  [[nodiscard]] std::size_t firstLike(std::size_t index) const { return first_[index]; }

 private:
  [[nodiscard]] std::size_t slotOf(std::uint64_t hash) const;

  // Indexes are 32 bits wide: half the room, for more names than any file holds.
  std::vector<std::string_view> names_;
  std::vector<std::uint64_t> hashes_;
  std::vector<std::uint32_t> table_;
  std::vector<std::uint32_t> first_;
  unsigned bits_ = 0;
};

}  // namespace velmora
