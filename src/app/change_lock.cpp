#include "app/change_lock.hpp"

#include <string>
#include <utility>

#include "app/diagnostics.hpp"
#include "platform/safe_replace.hpp"
#include "roster/roster_warnings.hpp"
#include "text/path_text.hpp"

namespace velmora {

Result<FileForChange> lockForChange(const std::filesystem::path& file, std::string_view fileName,
                                    const ChangeOptions& how, std::ostream& errors) {
  if (how.dryRun) {
    return FileForChange{file, std::nullopt};
  }
  const std::string name(fileName);
  FileLock lock = FileLock::take(file, how.wait, [&errors, &name] {
    reportLine(errors, "velmora: waiting for another program that is changing " + name);
  });
  // The lock file as the operator knows the file, unless a link leads elsewhere.
  const std::string lockName = lock.file() == file ? name + ".lock" : textOfPath(lock.lockFile());
  switch (lock.state()) {
    case FileLock::State::kBusy:
      return Failure{"velmora: " + name + " is being changed by another program (waited " +
                     std::to_string(how.wait.count()) + " s); nothing was changed"};
    case FileLock::State::kUnfollowed:
      return systemFailure("cannot write " + name, lock.reason());
    case FileLock::State::kInTheWay:
      return Failure{"velmora: " + lockName + " is in the way: it is not velmora's lock file, so " +
                     name + " was not changed"};
    case FileLock::State::kUnopenable:
      return Failure{"velmora: cannot open the lock file " + lockName + " (" +
                     lock.reason().message() + "), so " + name + " was not changed"};
    case FileLock::State::kUnsupported:
      reportLine(errors, std::string(kWarningPrefix) + "cannot lock " + name + " (" +
                             lock.reason().message() +
                             "), so a program that changes it at the same time may undo this "
                             "change");
      break;
    case FileLock::State::kHeld:
      removeLeftoverTemporaries(lock.file());
      break;
    case FileLock::State::kUnavailable:
      break;
  }
  std::filesystem::path locked = lock.file();
  if (lock.state() != FileLock::State::kHeld) {
    return FileForChange{std::move(locked), std::nullopt};
  }
  return FileForChange{std::move(locked), std::move(lock)};
}

}  // namespace velmora
