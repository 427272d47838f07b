#include "clientfile/file_bytes.hpp"

#include <cerrno>
#include <fstream>
#include <iterator>

namespace velmora {

std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::error_code& failure) {
  // Some systems open a folder as if it were a file and fail only at the first read.
  if (std::filesystem::is_directory(file, failure)) {
    failure = std::make_error_code(std::errc::is_a_directory);
    return std::nullopt;
  }
  errno = 0;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) {
    failure = {errno != 0 ? errno : EIO, std::generic_category()};
    return std::nullopt;
  }
  std::string bytes{std::istreambuf_iterator<char>(stream), {}};
  if (stream.bad()) {
    failure = std::make_error_code(std::errc::io_error);
    return std::nullopt;
  }
  failure.clear();
  return bytes;
}

}  // namespace velmora
