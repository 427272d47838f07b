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

// The lock file, made when there is none (then created says so). One that a run of another
// user left behind when it was killed may be readable only, which is enough to lock it.
int openLockFile(const std::filesystem::path& lockFile, bool& created) {
  for (;;) {
    created = false;
    int handle = open(lockFile.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0 && errno == EACCES) {
      handle = open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (handle >= 0 || errno != ENOENT) {
      return handle;
    }
    created = true;
    handle = open(lockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (handle >= 0 || errno != EEXIST) {
      return handle;
    }
  }
}

bool stillNamed(int handle, const std::filesystem::path& lockFile) {
  struct stat held {};
  struct stat named {};
  return fstat(handle, &held) == 0 && lstat(lockFile.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

FileLock::Attempt FileLock::tryLock(const std::filesystem::path& lockFile) {
  for (int renewal = 0; renewal < kMaxRenewals; ++renewal) {
    bool created = false;
    const int handle = openLockFile(lockFile, created);
    if (handle < 0) {
      const std::error_code refusal = lastSystemError();
      const bool refusedHere = refusal == std::errc::permission_denied ||
                               refusal == std::errc::operation_not_permitted ||
                               refusal == std::errc::read_only_file_system;
      return {kNoHandle, refusedHere ? State::kUnavailable : State::kUnsupported, refusal};
    }
    // flock, not fcntl: its lock belongs to this open file alone, so closing another
    // descriptor of the same file cannot drop it.
    if (flock(handle, LOCK_EX | LOCK_NB) != 0) {
      const std::error_code refusal = lastSystemError();
      close(handle);
      if (refusal == std::errc::operation_would_block || refusal == std::errc::interrupted) {
        return {kNoHandle, State::kBusy, {}};
      }
      // No one can hold a lock that cannot be taken: what this run made, it takes away.
      if (created) {
        unlink(lockFile.c_str());
      }
      return {kNoHandle, State::kUnsupported, refusal};
    }
    if (stillNamed(handle, lockFile)) {
      return {handle, State::kHeld, {}};
    }
    close(handle);
  }
  return {kNoHandle, State::kBusy, {}};
}

void FileLock::unlock(Handle handle, const std::filesystem::path& lockFile) {
  unlink(lockFile.c_str());
  close(static_cast<int>(handle));
}

}  // namespace velmora
