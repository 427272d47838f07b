#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

namespace velmora {

// One writer at a time for a file that is changed by replacing it. The lock cannot be taken on
// the file itself: a replacement puts a new file in its place, which the lock on the old one
// does not cover. It is taken on a lock file beside the file the path finally names
// ("clients.txt.lock"), which the system unlocks with the process that held it, however that
// ended, and which exists only while runs hold it or wait for it: the holder removes it before
// it lets go. The lock file is empty and every user may read it, so runs of every user who may
// change the file take turns, whatever their umask. Anything else at its name is not a lock
// file: it is never opened in a way that can block, nor removed.
class FileLock {
 public:
  enum class State {
    kHeld,         // this run is the one writer until the lock goes
    kBusy,         // another program held it all the time this run was to wait
    kUnsupported,  // no lock here: the file system cannot lock, or the lock file cannot be made
    kUnavailable,  // the folder refuses new files, or is not there, as the replacement will find
    kUnfollowed,   // the path could not be followed to the file it names
    kInTheWay,     // something that is no lock file has its name: a folder, a file with data
    kUnopenable,   // a lock file is there, but this run may not open it: it cannot take turns
  };

  // Takes the lock for target, waiting while another program holds it, up to waitLimit.
  // onWait is called once, as the wait begins. Once the lock is held, target is followed again:
  // when it has come to name another file meanwhile, the run lets go and starts over.
  static FileLock take(const std::filesystem::path& target, std::chrono::milliseconds waitLimit,
                       const std::function<void()>& onWait);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&&) = delete;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  // Lets go of a lock held: removes the lock file, then unlocks it.
  ~FileLock();

  [[nodiscard]] State state() const { return state_; }
  // Why the file system cannot lock, or no lock file can be made or opened.
  [[nodiscard]] std::error_code reason() const { return reason_; }
  // The file the lock is for: the one target finally named when the lock was taken, which the
  // run reads and replaces.
  [[nodiscard]] const std::filesystem::path& file() const { return file_; }
  [[nodiscard]] const std::filesystem::path& lockFile() const { return lockFile_; }

  // What one platform's half does: one try to take the lock of lockFile, without waiting, and
  // letting go of it.
  using Handle = std::intptr_t;
  static constexpr Handle kNoHandle = -1;
  struct Attempt {
    Handle handle = kNoHandle;  // when held
    State state = State::kBusy;
    std::error_code reason;
  };
  // Creates the lock file where there is none, locks it unless another program has, and makes
  // sure the name still names the file locked: the holder before may have removed it as it
  // let go. A lock file the try made goes again unless it is held when the try ends.
  static Attempt tryLock(const std::filesystem::path& lockFile);
  // Removes lockFile while still holding it, so that a program that gets the lock of the
  // removed file next starts over on a new one; then unlocks and closes it.
  static void unlock(Handle handle, const std::filesystem::path& lockFile);

 private:
  FileLock(std::filesystem::path file, const Attempt& attempt)
      : file_(std::move(file)),
        lockFile_(lockFileOf(file_)),
        handle_(attempt.handle),
        state_(attempt.state),
        reason_(attempt.reason) {}

  static std::filesystem::path lockFileOf(std::filesystem::path file) { return file += ".lock"; }

  std::filesystem::path file_;
  std::filesystem::path lockFile_;
  Handle handle_ = kNoHandle;
  State state_ = State::kBusy;
  std::error_code reason_;
};

}  // namespace velmora
