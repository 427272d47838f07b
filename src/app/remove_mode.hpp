#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "app/exit_status.hpp"

namespace velmora {

// Takes every admin that wanted names (by name, STEAMID or IP address) out of a clients file,
// through the same safe replacement as every other write, and says so on output, one line
// per admin. kDone, or kNotDone with the reason on errors when no admin matches or the file
// cannot be read, parsed or written; the file is then as it was.
ExitStatus removeAdmins(std::string_view wanted, const std::filesystem::path& file,
                        std::ostream& output, std::ostream& errors);

}  // namespace velmora
