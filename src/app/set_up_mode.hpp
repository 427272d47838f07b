#pragma once

#include <filesystem>
#include <ostream>
#include <streambuf>

#include "app/exit_status.hpp"

namespace velmora {

// The dialogue on input and output, then clients.txt in folder replaced by this run's admins
// when it set any up, then the warnings and any failure on errors, below the closing lines.
// kDone, or kNotDone when the file could not be written. The final wait is left to the caller.
ExitStatus setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                       const std::filesystem::path& folder = ".");

}  // namespace velmora
