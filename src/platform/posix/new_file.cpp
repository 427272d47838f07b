#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/new_file.hpp"

namespace velmora {
namespace {

std::error_code lastSystemError() { return {errno, std::generic_category()}; }

// Changing the owner is for root only, and a group only for its members: what the process may
// not change is left as it is.
std::error_code copyOwner(int handle, const struct stat& original) {
  if (fchown(handle, original.st_uid, original.st_gid) == 0) {
    return {};
  }
  if (errno != EPERM) {
    return lastSystemError();
  }
  if (fchown(handle, static_cast<uid_t>(-1), original.st_gid) != 0 && errno != EPERM) {
    return lastSystemError();
  }
  return {};
}

}  // namespace

NewFile NewFile::create(const std::filesystem::path& path, std::error_code& failure) {
  // The umask turns 0666 into the mode any new file of the operator's gets.
  const int handle = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  failure = handle < 0 ? lastSystemError() : std::error_code{};
  return NewFile(handle);
}

NewFile::NewFile(NewFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

NewFile::~NewFile() {
  if (handle_ >= 0) {
    close(handle_);
  }
}

// Not const: it changes the file behind the handle.
std::error_code NewFile::write(  // NOLINT(readability-make-member-function-const)
    std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(handle_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return written < 0 ? lastSystemError() : std::make_error_code(std::errc::io_error);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::error_code NewFile::copyAttributesOf(  // NOLINT(readability-make-member-function-const)
    const std::filesystem::path& original) {
  struct stat status {};
  if (stat(original.c_str(), &status) != 0) {
    return lastSystemError();
  }
  // The owner goes first: changing it clears the set-user-ID and set-group-ID bits.
  if (const std::error_code failure = copyOwner(handle_, status)) {
    return failure;
  }
  if (fchmod(handle_, status.st_mode & 07777) != 0) {
    return lastSystemError();
  }
  return {};
}

std::error_code NewFile::syncAndClose() {
  if (fsync(handle_) != 0) {
    return lastSystemError();
  }
  if (close(std::exchange(handle_, -1)) != 0) {
    return lastSystemError();
  }
  return {};
}

std::error_code requireWritable(const std::filesystem::path& existing) {
  return access(existing.c_str(), W_OK) != 0 ? lastSystemError() : std::error_code{};
}

std::error_code syncFolder(const std::filesystem::path& folder) {
  const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) {
    return lastSystemError();
  }
  const std::error_code failure = fsync(handle) != 0 ? lastSystemError() : std::error_code{};
  close(handle);
  return failure;
}

}  // namespace velmora
