#pragma once

namespace velmora {

// The program's exit statuses. Scripts rely on these numbers, so they never change; several
// modes give the same number its own meaning.
enum class ExitStatus : int {
  kDone = 0,            // what was asked was done; for --check, the file has no problems
  kProblemsFound = 1,   // --check: the file has problems
  kNotDone = 1,         // clients.txt could not be written, added to or removed from
  kUsageError = 2,      // the command line asks for something velmora does not do
  kCannotReadFile = 2,  // --check, --list: the file cannot be read or parsed
};

}  // namespace velmora
