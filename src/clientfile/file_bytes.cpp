#include "clientfile/file_bytes.hpp"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace velmora {
Result<std::string> readFileBytes(const std::filesystem::path& file, std::string_view fileName) {
  const auto unread = [fileName](std::error_code cause) {
    return systemFailure("cannot read " + std::string(fileName), cause);
  };
  // Some systems open a folder as if it were a file and fail only at the first read.
  if (std::error_code ignored; std::filesystem::is_directory(file, ignored)) {
    return unread(std::make_error_code(std::errc::is_a_directory));
  }
  errno = 0;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) {
    return unread({errno != 0 ? errno : EIO, std::generic_category()});
  }
  std::string bytes{std::istreambuf_iterator<char>(stream), {}};
  if (stream.bad()) {
    return unread(std::make_error_code(std::errc::io_error));
  }
  return bytes;
}

}  // namespace velmora
