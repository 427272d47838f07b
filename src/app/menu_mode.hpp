#pragma once

#include <chrono>
#include <filesystem>
#include <ostream>
#include <streambuf>

#include "app/exit_status.hpp"

namespace velmora {

// The operator's menu on a clients file, for those who start velmora by dropping the file on
// it: it says which file it is and how many admins it holds, then offers to list, add,
// change, remove or check admins, until the operator ends it or input ends (kDone). Each
// change is shown first, written at once once confirmed, as --add, --set and --remove write
// it, under the file's lock (waiting up to wait), and said in one line; its warnings go to
// errors. A file that does not exist holds no admins, and the first admin added makes it. A
// file that cannot be read or parsed is named on errors, and the run waits for Enter so that
// a window opened by dropping the file stays, then ends with kNotDone.
ExitStatus runMenu(const std::filesystem::path& file, std::streambuf& input, std::ostream& output,
                   std::ostream& errors, std::chrono::seconds wait);

}  // namespace velmora
