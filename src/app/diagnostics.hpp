#pragma once

#include <ostream>
#include <string_view>

#include "app/exit_status.hpp"
#include "platform/result.hpp"

namespace velmora {

// Writes line and its line end in one piece and flushes, so that the line cannot interleave
// with what other programs write to the same place.
void reportLine(std::ostream& stream, std::string_view line);

// Reports failure on errors and gives status, the exit status it ends the mode with.
ExitStatus reportFailure(std::ostream& errors, const Failure& failure, ExitStatus status);

}  // namespace velmora
