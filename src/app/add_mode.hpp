#pragma once

#include <chrono>
#include <filesystem>
#include <ostream>
#include <streambuf>

#include "app/exit_status.hpp"

namespace velmora {

// The same dialogue as setUpAdmins, but this run's admins are added to the clients.txt in
// folder, every byte of which stays; without one, they make a new file. A file that cannot be
// added to is said at once, before anything is asked. The warnings cover the admins already
// in the file too. The file is read again and replaced under its lock (see lockForChange), taken
// once the answers are in. kDone, or kNotDone when the file could not be read or written, or
// another program was changing it for longer than wait. The final wait is left to the caller.
ExitStatus addAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                     std::chrono::seconds wait, const std::filesystem::path& folder = ".");

}  // namespace velmora
