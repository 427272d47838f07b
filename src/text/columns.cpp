#include "text/columns.hpp"

#include <algorithm>

#include "text/display_width.hpp"

namespace velmora {

std::vector<std::string> alignedColumns(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const std::vector<std::string>& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t column = 0; column < row.size(); ++column) {
      widths[column] = std::max(widths[column], displayWidth(row[column]));
    }
  }
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const std::vector<std::string>& row : rows) {
    std::string line;
    for (std::size_t column = 0; column < row.size(); ++column) {
      line += row[column];
      if (column + 1 < row.size()) {
        line.append(widths[column] - displayWidth(row[column]) + 2, ' ');
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace velmora
