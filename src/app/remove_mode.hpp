#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "app/change_lock.hpp"
#include "app/exit_status.hpp"
#include "platform/result.hpp"

namespace velmora {

// Takes every admin that wanted names (by name, STEAMID or IP address) out of a clients file,
// through the same safe replacement as every other write, and says so on output, one line
// per admin; with how.dryRun, the change goes to diff as a unified diff first, and nothing is
// written. kDone, or kNotDone with the reason on errors when no admin matches, the file
// cannot be read, parsed or written, or another program is changing it for longer than
// how.wait (see lockForChange); the file is then as it was.
ExitStatus removeAdmins(std::string_view wanted, const std::filesystem::path& file,
                        const ChangeOptions& how, std::ostream& output, std::ostream& diff,
                        std::ostream& errors);

}  // namespace velmora
