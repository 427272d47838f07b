#pragma once

#include <filesystem>
#include <ostream>

#include "app/exit_status.hpp"

namespace velmora {

// Reads and checks a clients file and writes the report to output: kDone without findings,
// kProblemsFound with findings, kCannotReadFile when the file cannot be read or parsed.
// Writes no file.
ExitStatus checkClientsFile(const std::filesystem::path& file, std::ostream& output,
                            std::ostream& errors);

}  // namespace velmora
