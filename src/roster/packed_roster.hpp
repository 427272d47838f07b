#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "roster/entry_values.hpp"

namespace velmora {

// The admins of a roster with their texts side by side in one string, so that a roster of many
// admins takes little more room than its texts: an EntryValues of its own for each would take
// several times that. An admin is made whole again when it is wanted.
class PackedRoster {
 public:
  void add(const EntryValues& admin);

  [[nodiscard]] std::size_t size() const { return present_.size(); }
  // The admin at index, made anew.
  [[nodiscard]] EntryValues operator[](std::size_t index) const;
  // Views of the admin's texts, which last as long as the roster is not added to.
  [[nodiscard]] std::string_view key(std::size_t index) const { return text(index, 0); }
  [[nodiscard]] std::optional<std::string_view> value(std::size_t index,
                                                      const EntryField& field) const;

 private:
  // The key, then each of kEntryFields.
  static constexpr std::size_t kTexts = 1 + std::size(kEntryFields);

  [[nodiscard]] std::string_view text(std::size_t index, std::size_t which) const;

  std::string texts_;
  std::vector<std::size_t> ends_;      // where each text of each admin ends in texts_
  std::vector<std::uint8_t> present_;  // for each admin, a bit for each text it has
};

}  // namespace velmora
