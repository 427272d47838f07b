#pragma once

#include <filesystem>
#include <ostream>

namespace velmora {

// Writes the admins of a clients file to output as a table, and returns the exit status: 0,
// or 2 with the reason on errors when the file cannot be read or parsed. Writes no file.
int listAdmins(const std::filesystem::path& file, std::ostream& output, std::ostream& errors);

}  // namespace velmora
