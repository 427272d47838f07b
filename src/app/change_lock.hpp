#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "platform/file_lock.hpp"
#include "platform/result.hpp"

namespace velmora {

// How long a run that is to change a file waits for another program that is changing it.
inline constexpr std::chrono::seconds kDefaultWait{10};

// How a mode changes a file: for real, waiting up to wait for another program that is changing
// it, or only showing the change (dryRun).
struct ChangeOptions {
  bool dryRun = false;
  std::chrono::seconds wait = kDefaultWait;
};

// A file a run is to change, as it holds it for the change.
struct FileForChange {
  // What the run reads and replaces: the file the lock is for, which a link named when it was
  // taken; the path given in a dry run.
  std::filesystem::path path;
  // None in a dry run, or where no lock can be had and the run goes on without one.
  std::optional<FileLock> lock;
};

// The lock a run holds from before it reads file (shown to the operator as fileName) until its
// replacement is in place, so that two runs never both change what the other read. While
// another program changes the file, the run waits up to how.wait and says so once on errors;
// past it, the failure says that nothing was changed, as it does for a lock file this run may
// not open, and for something else in the lock file's place. Where the file system cannot lock,
// the run says so and goes on without the lock, as it would have without this guard. The one
// who holds the lock takes away what killed writers left. A dry run writes nothing, so it takes
// no lock and never waits.
Result<FileForChange> lockForChange(const std::filesystem::path& file, std::string_view fileName,
                                    const ChangeOptions& how, std::ostream& errors);

}  // namespace velmora
