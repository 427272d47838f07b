#include "roster/packed_roster.hpp"

namespace velmora {

void PackedRoster::add(const EntryValues& admin) {
  std::uint8_t present = 1;
  texts_.append(admin.key);
  ends_.push_back(texts_.size());
  for (std::size_t k = 0; k < std::size(kEntryFields); ++k) {
    if (const std::optional<std::string>& given = admin.*kEntryFields[k].member) {
      present |= static_cast<std::uint8_t>(1U << (k + 1));
      texts_.append(*given);
    }
    ends_.push_back(texts_.size());
  }
  present_.push_back(present);
}

std::string_view PackedRoster::text(std::size_t index, std::size_t which) const {
  const std::size_t at = index * kTexts + which;
  const std::size_t begin = at == 0 ? 0 : ends_[at - 1];
  return std::string_view(texts_).substr(begin, ends_[at] - begin);
}

std::optional<std::string_view> PackedRoster::value(std::size_t index,
                                                    const EntryField& field) const {
  const auto k = static_cast<std::size_t>(&field - std::begin(kEntryFields));
  if ((present_[index] & (1U << (k + 1))) == 0) {
    return std::nullopt;
  }
  return text(index, k + 1);
}

EntryValues PackedRoster::operator[](std::size_t index) const {
  EntryValues admin;
  admin.key = key(index);
  for (const EntryField& field : kEntryFields) {
    if (const std::optional<std::string_view> given = value(index, field)) {
      admin.*field.member = std::string(*given);
    }
  }
  return admin;
}

}  // namespace velmora
