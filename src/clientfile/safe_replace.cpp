#include "clientfile/safe_replace.hpp"

#include <cerrno>
#include <fstream>

namespace velmora {
namespace {

// File streams report failure without a reason; the C library leaves it in errno.
std::error_code lastSystemError() {
  const int reason = errno != 0 ? errno : EIO;
  return {reason, std::generic_category()};
}

// Writes, flushes and closes file, reporting the first failure. Small writes only fail once
// the buffer reaches the disk, so nothing is judged before the flush.
std::error_code writeAndClose(std::ofstream& file, std::string_view bytes) {
  errno = 0;
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.flush();
  std::error_code failure = file ? std::error_code{} : lastSystemError();
  errno = 0;
  file.close();
  if (!failure && file.fail()) {
    failure = lastSystemError();
  }
  return failure;
}

}  // namespace

std::error_code replaceFileContents(const std::filesystem::path& target, std::string_view bytes) {
  std::filesystem::path temporary = target;
  temporary += ".tmp";
  errno = 0;
  std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
  if (!file.is_open()) {
    // Nothing was created, so nothing is cleaned up: whatever stands in the way stays.
    return lastSystemError();
  }
  std::error_code failure = writeAndClose(file, bytes);
  if (!failure) {
    // Unlike std::rename, this also replaces an existing file on Windows.
    std::filesystem::rename(temporary, target, failure);
  }
  if (failure) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  }
  return failure;
}

}  // namespace velmora
