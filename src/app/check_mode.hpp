#pragma once

#include <filesystem>
#include <ostream>

namespace velmora {

// Reads and checks a clients file, writes the report to output, and returns the exit status:
// 0 without findings, 1 with findings, 2 when the file cannot be read or parsed. Writes no
// file.
int checkClientsFile(const std::filesystem::path& file, std::ostream& output, std::ostream& errors);

}  // namespace velmora
