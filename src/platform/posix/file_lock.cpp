#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_lock.hpp"

namespace velmora {
namespace {

std::error_code lastSystemError() { return {errno, std::generic_category()}; }

// A lock file that its holders remove this many times in a row, each just as this run got its
// lock, is not worth following further: the run then counts as waiting.
constexpr int kMaxRenewals = 100;

// Readable by every user whatever the umask: a run of another user opens it read-only, which is
// enough to lock it.
constexpr mode_t kLockFileMode = 0644;

// Never blocks on what may stand at the name meanwhile (a FIFO), nor follows a link.
constexpr int kOpenFlags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

bool isLockFile(const struct stat& status) {
  return S_ISREG(status.st_mode) && status.st_size == 0;
}

// The lock file opened, or made where there is none; or what stands in the way of either.
struct Opened {
  int handle = -1;
  bool created = false;
  FileLock::State refusal = FileLock::State::kUnsupported;
  std::error_code reason;
};

Opened refused(FileLock::State state, std::error_code reason = lastSystemError()) {
  return {-1, false, state, reason};
}

Opened openExisting(const std::filesystem::path& lockFile) {
  int handle = open(lockFile.c_str(), O_RDWR | kOpenFlags);
  if (handle < 0 && errno == EACCES) {
    handle = open(lockFile.c_str(), O_RDONLY | kOpenFlags);
  }
  if (handle < 0) {
    // Another link or file may have taken its place since it was looked at.
    return refused(errno == ELOOP ? FileLock::State::kInTheWay : FileLock::State::kUnopenable);
  }
  struct stat status {};
  if (fstat(handle, &status) != 0) {
    const std::error_code reason = lastSystemError();
    close(handle);
    return refused(FileLock::State::kUnopenable, reason);
  }
  if (!isLockFile(status)) {
    close(handle);
    return refused(FileLock::State::kInTheWay, {});
  }
  return {handle, false, FileLock::State::kHeld, {}};
}

Opened openLockFile(const std::filesystem::path& lockFile) {
  for (;;) {
    struct stat named {};
    if (lstat(lockFile.c_str(), &named) == 0) {
      if (!isLockFile(named)) {
        return refused(FileLock::State::kInTheWay, {});
      }
      Opened opened = openExisting(lockFile);
      if (opened.handle >= 0 || opened.reason != std::errc::no_such_file_or_directory) {
        return opened;
      }
      continue;  // removed by its holder just now
    }
    if (errno != ENOENT) {
      return refused(errno == EACCES || errno == ENOTDIR ? FileLock::State::kUnavailable
                                                         : FileLock::State::kUnsupported);
    }
    // Made with its mode whole, not narrowed by the umask and widened after: a run of another
    // user that came in between could not open it. No other thread makes files meanwhile.
    const mode_t umaskBefore = umask(0);
    const int handle =
        open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, kLockFileMode);
    umask(umaskBefore);
    if (handle >= 0) {
      // A folder's default access list narrows it all the same. Should the mode stay narrowed,
      // runs of other users stop instead of waiting: they still never change the file at once.
      fchmod(handle, kLockFileMode);
      return {handle, true, FileLock::State::kHeld, {}};
    }
    if (errno != EEXIST) {
      // A folder that refuses new files, or is not there, refuses the replacement as well.
      const bool refusedHere = errno == EACCES || errno == EPERM || errno == EROFS ||
                               errno == ENOENT || errno == ENOTDIR;
      return refused(refusedHere ? FileLock::State::kUnavailable : FileLock::State::kUnsupported);
    }
  }
}

enum class Naming { kNamed, kRenamed, kUnknown };

// Whether lockFile still names the file open as handle.
Naming naming(int handle, const std::filesystem::path& lockFile, std::error_code& reason) {
  struct stat held {};
  struct stat named {};
  if (fstat(handle, &held) != 0 || lstat(lockFile.c_str(), &named) != 0) {
    reason = lastSystemError();
    return reason == std::errc::no_such_file_or_directory ? Naming::kRenamed : Naming::kUnknown;
  }
  return held.st_dev == named.st_dev && held.st_ino == named.st_ino ? Naming::kNamed
                                                                    : Naming::kRenamed;
}

// Takes away a lock file that this run made and no one holds, as its holder would.
void removeIfUnheld(const std::filesystem::path& lockFile) {
  const Opened opened = openExisting(lockFile);
  if (opened.handle < 0) {
    return;
  }
  std::error_code unknown;
  if (flock(opened.handle, LOCK_EX | LOCK_NB) == 0 &&
      naming(opened.handle, lockFile, unknown) == Naming::kNamed) {
    unlink(lockFile.c_str());
  }
  close(opened.handle);
}

FileLock::Attempt lockOpened(const Opened& opened, const std::filesystem::path& lockFile,
                             bool& renewed) {
  renewed = false;
  // flock, not fcntl: its lock belongs to this open file alone, so closing another
  // descriptor of the same file cannot drop it.
  if (flock(opened.handle, LOCK_EX | LOCK_NB) != 0) {
    const std::error_code refusal = lastSystemError();
    close(opened.handle);
    if (refusal == std::errc::operation_would_block || refusal == std::errc::interrupted) {
      return {FileLock::kNoHandle, FileLock::State::kBusy, {}};
    }
    // No one can hold a lock that cannot be taken: what this run made, it takes away.
    if (opened.created) {
      unlink(lockFile.c_str());
    }
    return {FileLock::kNoHandle, FileLock::State::kUnsupported, refusal};
  }
  // A check that fails once is made again before the run gives up the lock it holds.
  std::error_code reason;
  Naming named = naming(opened.handle, lockFile, reason);
  if (named == Naming::kUnknown) {
    named = naming(opened.handle, lockFile, reason);
  }
  if (named == Naming::kNamed) {
    return {opened.handle, FileLock::State::kHeld, {}};
  }
  close(opened.handle);
  renewed = named == Naming::kRenamed;
  return {FileLock::kNoHandle, FileLock::State::kUnsupported, reason};
}

}  // namespace

FileLock::Attempt FileLock::tryLock(const std::filesystem::path& lockFile) {
  bool made = false;
  Attempt attempt{kNoHandle, State::kBusy, {}};
  for (int renewal = 0; renewal < kMaxRenewals; ++renewal) {
    const Opened opened = openLockFile(lockFile);
    if (opened.handle < 0) {
      attempt = {kNoHandle, opened.refusal, opened.reason};
      break;
    }
    made = made || opened.created;
    bool renewed = false;
    attempt = lockOpened(opened, lockFile, renewed);
    if (!renewed) {
      break;
    }
    attempt = {kNoHandle, State::kBusy, {}};
  }
  if (made && attempt.state != State::kHeld && attempt.state != State::kBusy) {
    removeIfUnheld(lockFile);
  }
  return attempt;
}

void FileLock::unlock(Handle handle, const std::filesystem::path& lockFile) {
  // A removal that fails once is tried again: what stays behind waits for the next run.
  if (unlink(lockFile.c_str()) != 0 && errno != ENOENT) {
    unlink(lockFile.c_str());
  }
  close(static_cast<int>(handle));
}

}  // namespace velmora
