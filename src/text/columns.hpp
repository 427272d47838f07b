#pragma once

#include <string>
#include <vector>

namespace velmora {

// Rows of cells as lines, each column as wide as its widest cell by the columns a terminal
// gives each character, two blanks between columns; the last column is not padded. Cells
// must already be safe to show.
std::vector<std::string> alignedColumns(const std::vector<std::vector<std::string>>& rows);

}  // namespace velmora
