#pragma once

#include <chrono>
#include <filesystem>
#include <ostream>
#include <streambuf>

#include "app/exit_status.hpp"

namespace velmora {

// The dialogue on input and output, then clients.txt in folder replaced by this run's admins
// when it set any up, then the warnings and any failure on errors, below the closing lines.
// The file is replaced under its lock (see lockForChange), taken once the answers are in. kDone,
// or kNotDone when the file could not be written, or another program was changing it for
// longer than wait. The final wait is left to the caller.
ExitStatus setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                       std::chrono::seconds wait, const std::filesystem::path& folder = ".");

}  // namespace velmora
