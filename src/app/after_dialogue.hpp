#pragma once

#include <ostream>
#include <span>
#include <string>

#include "app/exit_status.hpp"
#include "platform/result.hpp"

namespace velmora {

// Ends a dialogue mode: flushes the dialogue's output, then says the warnings and, when the
// file was not written, why. kDone, or kNotDone when it was not written.
ExitStatus reportAfterDialogue(std::ostream& output, std::ostream& errors,
                               std::span<const std::string> warnings, const Result<>& written);

}  // namespace velmora
