#pragma once

#include <cstddef>
#include <string_view>

// Lines of a text that is edited in place, whatever its line ends (LF or CR LF).
namespace velmora {

// Where the line that holds offset at begins: just after the line feed before at, or 0.
inline std::size_t startOfLine(std::string_view text, std::size_t at) {
  const std::size_t lineFeed = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
  return lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
}

// Just after the line feed that ends the line holding offset at, or the end of text.
inline std::size_t endOfLine(std::string_view text, std::size_t at) {
  const std::size_t lineFeed = text.find('\n', at);
  return lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
}

}  // namespace velmora
