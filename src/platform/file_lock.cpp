#include "platform/file_lock.hpp"

#include <algorithm>
#include <thread>
#include <utility>

#include "platform/link_target.hpp"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Another run holds the lock for a few milliseconds: look again soon, then less often.
constexpr milliseconds kFirstPause{2};
constexpr milliseconds kLongestPause{50};

}  // namespace

FileLock FileLock::take(const std::filesystem::path& target, milliseconds waitLimit,
                        const std::function<void()>& onWait) {
  const Clock::time_point deadline = Clock::now() + waitLimit;
  milliseconds pause = kFirstPause;
  bool waiting = false;
  for (;;) {
    // A link's own folder is no place for it: the file replaced is the one the link names.
    std::error_code unfollowed;
    std::filesystem::path file = finalTargetOf(target, unfollowed);
    if (unfollowed) {
      return {std::move(file), {kNoHandle, State::kUnfollowed, unfollowed}};
    }
    const std::filesystem::path lockFile = lockFileOf(file);
    const Attempt attempt = tryLock(lockFile);
    if (attempt.state == State::kHeld) {
      // A link switched to another file while this run waited would have it change a file
      // whose lock it does not hold.
      std::error_code refollowed;
      const bool sameFile = finalTargetOf(target, refollowed) == file;
      if (sameFile && !refollowed) {
        return {std::move(file), attempt};
      }
      unlock(attempt.handle, lockFile);
      if (refollowed) {
        return {std::move(file), {kNoHandle, State::kUnfollowed, refollowed}};
      }
      continue;
    }
    const Clock::time_point now = Clock::now();
    if (attempt.state != State::kBusy || now >= deadline) {
      return {std::move(file), attempt};
    }
    if (!std::exchange(waiting, true)) {
      onWait();
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, kLongestPause);
  }
}

FileLock::FileLock(FileLock&& other) noexcept
    : file_(std::move(other.file_)),
      lockFile_(std::move(other.lockFile_)),
      handle_(std::exchange(other.handle_, kNoHandle)),
      state_(other.state_),
      reason_(other.reason_) {}

FileLock::~FileLock() {
  if (handle_ != kNoHandle) {
    unlock(handle_, lockFile_);
  }
}

}  // namespace velmora
