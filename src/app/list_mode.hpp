#pragma once

#include <filesystem>
#include <ostream>

#include "app/exit_status.hpp"

namespace velmora {

// Writes the admins of a clients file to output as a table: kDone, or kCannotReadFile with
// the reason on errors when the file cannot be read or parsed. Writes no file.
ExitStatus listAdmins(const std::filesystem::path& file, std::ostream& output,
                      std::ostream& errors);

}  // namespace velmora
