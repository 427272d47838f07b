#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

// items as prose: "a", "a and b", "a, b and c".
inline std::string listed(std::span<const std::string> items) {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i) {
    list.append(i == 0 ? "" : i + 1 == items.size() ? " and " : ", ").append(items[i]);
  }
  return list;
}

// count things in prose: "1 admin", "3 admins".
inline std::string counted(std::size_t count, std::string_view thing) {
  return std::to_string(count) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

}  // namespace velmora
