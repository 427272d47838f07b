#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>

#include "app/change_lock.hpp"
#include "app/command_line.hpp"
#include "app/exit_status.hpp"

namespace velmora {

// Changes the one admin of a clients file that wanted names (as --remove finds admins) to
// hold the fields, changing only the tokens that differ, and says what changed on output;
// with how.dryRun, the change goes to diff as a unified diff first, and nothing is written. An
// admin already so is left alone, and the file is not rewritten. The warnings about the
// admin go to errors. kDone; kNotDone when no admin or more than one matches, or the file
// cannot be read, parsed, changed or written; kUsageError for a group the file does not
// define or a value no file can hold. The file is as it was unless kDone. A change is made
// under the file's lock (see lockForChange), which also ends the run with kNotDone when another
// program is changing the file for longer than how.wait.
ExitStatus setAdmin(std::string_view wanted, std::span<const FieldSetting> fields,
                    const std::filesystem::path& file, const ChangeOptions& how,
                    std::ostream& output, std::ostream& diff, std::ostream& errors);

}  // namespace velmora
