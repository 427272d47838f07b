#include "app/change_lock.hpp"

#include <string>
#include <utility>

#include "app/diagnostics.hpp"
#include "roster/roster_warnings.hpp"

namespace velmora {

Result<std::optional<FileLock>> lockForChange(const std::filesystem::path& file,
                                              std::string_view fileName, const ChangeOptions& how,
                                              std::ostream& errors) {
  if (how.dryRun) {
    return std::optional<FileLock>{};
  }
  const std::string name(fileName);
  FileLock lock = FileLock::take(file, how.wait, [&errors, &name] {
    reportLine(errors, "velmora: waiting for another program that is changing " + name);
  });
  switch (lock.state()) {
    case FileLock::State::kBusy:
      return Failure{"velmora: " + name + " is being changed by another program (waited " +
                     std::to_string(how.wait.count()) + " s); nothing was changed"};
    case FileLock::State::kUnfollowed:
      return systemFailure("cannot write " + name, lock.reason());
    case FileLock::State::kUnsupported:
      reportLine(errors, std::string(kWarningPrefix) + "cannot lock " + name + " (" +
                             lock.reason().message() +
                             "), so a program that changes it at the same time may undo this "
                             "change");
      break;
    case FileLock::State::kHeld:
    case FileLock::State::kUnavailable:
      break;
  }
  return std::optional<FileLock>(std::move(lock));
}

}  // namespace velmora
