#include "text/filled.hpp"

namespace velmora {

std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string result;
  for (const std::string_view value : values) {
    const std::size_t slot = text.find(kSlot);
    result.append(text.substr(0, slot)).append(value);
    text.remove_prefix(slot + kSlot.size());
  }
  return result.append(text);
}

}  // namespace velmora
