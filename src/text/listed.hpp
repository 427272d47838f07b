#pragma once

#include <span>
#include <string>

namespace velmora {

// items as prose: "a", "a and b", "a, b and c".
inline std::string listed(std::span<const std::string> items) {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i) {
    list.append(i == 0 ? "" : i + 1 == items.size() ? " and " : ", ").append(items[i]);
  }
  return list;
}

}  // namespace velmora
