#pragma once

#include <filesystem>
#include <ostream>

#include "app/exit_status.hpp"

namespace velmora {

// Writes the whole of a clients file as a roster to output, one JSON object on one line: its
// admins as --list --json gives them, and its groups as --groups --json gives them, so that
// --apply of it to the same file changes nothing. kDone, or kCannotReadFile with the reason on
// errors, and nothing on output, when the file cannot be read or parsed. Writes no file.
ExitStatus exportRoster(const std::filesystem::path& file, std::ostream& output,
                        std::ostream& errors);

}  // namespace velmora
