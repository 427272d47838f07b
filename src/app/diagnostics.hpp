#pragma once

#include <ostream>
#include <string_view>

namespace velmora {

// Writes line and its line end in one piece and flushes, so that the line cannot interleave
// with what other programs write to the same place.
void reportLine(std::ostream& stream, std::string_view line);

}  // namespace velmora
