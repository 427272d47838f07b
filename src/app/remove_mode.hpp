#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

namespace velmora {

// Takes every admin that wanted names (by name, STEAMID or IP address) out of a clients file,
// through the same safe replacement as every other write, and says so on output, one line
// per admin. Returns the exit status: 0, or 1 with the reason on errors when no admin
// matches or the file cannot be read, parsed or written; the file is then as it was.
int removeAdmins(std::string_view wanted, const std::filesystem::path& file, std::ostream& output,
                 std::ostream& errors);

}  // namespace velmora
