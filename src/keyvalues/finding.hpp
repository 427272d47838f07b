#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace velmora {

// A finding about a key-value file: the line it is about and what is wrong there; a syntax
// error has its column too.
struct FileFinding {
  FileFinding(std::size_t line, std::string message, std::optional<std::size_t> column = {})
      : line(line), message(std::move(message)), column(column) {}

  std::size_t line;
  std::string message;
  std::optional<std::size_t> column;
};

}  // namespace velmora
