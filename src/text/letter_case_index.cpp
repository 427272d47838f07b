#include "text/letter_case_index.hpp"

#include <utility>

#include "text/letter_case.hpp"

namespace velmora {

LetterCaseAsideIndex::LetterCaseAsideIndex(std::vector<std::string_view> names)
    : names_(std::move(names)), hashes_(names_.size()), first_(names_.size()) {
  table_.reset(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    hashes_[i] = letterCaseAsideHash(names_[i]);
    const std::size_t slot = table_.slotOf(hashes_[i], [&](std::uint32_t held) {
      return hashes_[held] == hashes_[i] && sameLetterCaseAside(names_[held], names_[i]);
    });
    if (table_[slot] == IndexTable::kFree) {
      table_[slot] = static_cast<std::uint32_t>(i);
    }
    first_[i] = table_[slot];
  }
}

std::optional<std::size_t> LetterCaseAsideIndex::find(std::string_view name) const {
  const std::uint64_t hash = letterCaseAsideHash(name);
  const std::size_t slot = table_.slotOf(hash, [&](std::uint32_t held) {
    return hashes_[held] == hash && sameLetterCaseAside(names_[held], name);
  });
  return table_[slot] == IndexTable::kFree ? std::nullopt
                                           : std::optional<std::size_t>(table_[slot]);
}

}  // namespace velmora
