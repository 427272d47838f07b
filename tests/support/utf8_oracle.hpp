#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::testing {

// Well-formed UTF-8 worked out from the code point each sequence encodes, independently of
// the program's byte table: the length of the character at the front of text, 0 for none.
inline std::size_t decodedLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint32_t value = 0;
  if ((lead & 0xE0U) == 0xC0U) {
    length = 2;
    value = lead & 0x1FU;
  } else if ((lead & 0xF0U) == 0xE0U) {
    length = 3;
    value = lead & 0x0FU;
  } else if ((lead & 0xF8U) == 0xF0U) {
    length = 4;
    value = lead & 0x07U;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0U) != 0x80U) return 0;
    value = (value << 6U) | (next & 0x3FU);
  }
  static constexpr std::uint32_t kLeastOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return value < kLeastOfLength[length] || value > 0x10FFFF || surrogate ? 0 : length;
}

// How much of word a field of maxBytes keeps: whole characters only, other bytes one by one.
inline std::size_t expectedKept(std::string_view word, std::size_t maxBytes) {
  std::size_t kept = 0;
  while (kept < word.size()) {
    const std::size_t length = decodedLength(word.substr(kept));
    const std::size_t step = length == 0 ? 1 : length;
    if (kept + step > maxBytes) break;
    kept += step;
  }
  return kept;
}

}  // namespace velmora::testing
