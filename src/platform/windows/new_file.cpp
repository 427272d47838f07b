#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

#include "platform/new_file.hpp"

namespace velmora {
namespace {

std::error_code lastSystemError() { return {errno, std::generic_category()}; }

}  // namespace

NewFile NewFile::create(const std::filesystem::path& path, std::error_code& failure) {
  int handle = -1;
  const errno_t result =
      _wsopen_s(&handle, path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                _SH_DENYRW, _S_IREAD | _S_IWRITE);
  failure = result != 0 ? std::error_code(result, std::generic_category()) : std::error_code{};
  return NewFile(result != 0 ? -1 : handle);
}

NewFile::NewFile(NewFile&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

NewFile::~NewFile() {
  if (handle_ >= 0) {
    _close(handle_);
  }
}

std::error_code NewFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<unsigned int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    const int written = _write(handle_, bytes.data(), chunk);
    if (written <= 0) {
      return written < 0 ? lastSystemError() : std::make_error_code(std::errc::io_error);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// A Windows file takes its access rights from the folder it is created in, as the replaced
// file did; the only mode bit the C runtime knows is read-only, which a file that is being
// replaced cannot have.
std::error_code NewFile::copyAttributesOf(const std::filesystem::path& /*original*/) { return {}; }

std::error_code NewFile::syncAndClose() {
  if (_commit(handle_) != 0) {
    return lastSystemError();
  }
  if (_close(std::exchange(handle_, -1)) != 0) {
    return lastSystemError();
  }
  return {};
}

std::error_code requireWritable(const std::filesystem::path& existing) {
  constexpr int kWriteAccess = 2;
  return _waccess(existing.c_str(), kWriteAccess) != 0 ? lastSystemError() : std::error_code{};
}

// The file system journals a rename itself; a folder cannot be flushed through the C runtime.
std::error_code syncFolder(const std::filesystem::path& /*folder*/) { return {}; }

}  // namespace velmora
