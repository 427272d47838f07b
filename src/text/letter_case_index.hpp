#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "text/index_table.hpp"

namespace velmora {

// Where each of a list of names stands in the list, found by a name, letter case aside, as the
// server looks names up. The names are views, which must outlive the index.
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
  std::vector<std::string_view> names_;
  std::vector<std::uint64_t> hashes_;
  IndexTable table_;
  std::vector<std::uint32_t> first_;
};

}  // namespace velmora
