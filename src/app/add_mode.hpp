#pragma once

#include <filesystem>
#include <ostream>
#include <streambuf>

#include "app/exit_status.hpp"

namespace velmora {

// The same dialogue as setUpAdmins, but this run's admins are added to the clients.txt in
// folder, every byte of which stays; without one, they make a new file. A file that cannot be
// added to is said at once, before anything is asked. The warnings cover the admins already
// in the file too. kDone, or kNotDone when the file could not be read or written. The final
// wait is left to the caller.
ExitStatus addAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                     const std::filesystem::path& folder = ".");

}  // namespace velmora
