#include "platform/file_bytes.hpp"

#include <cerrno>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/large_pages.hpp"

namespace velmora {
namespace {

constexpr std::size_t kPiece = std::size_t{64} * 1024;

Failure unreadable(std::string_view fileName, std::error_code cause) {
  return systemFailure("cannot read " + std::string(fileName), cause);
}

}  // namespace

Result<std::ifstream> openForReading(const std::filesystem::path& file, std::string_view fileName) {
  // Some systems open a folder as if it were a file and fail only at the first read.
  if (std::error_code ignored; std::filesystem::is_directory(file, ignored)) {
    return unreadable(fileName, std::make_error_code(std::errc::is_a_directory));
  }
  errno = 0;
  std::ifstream stream(file, std::ios::binary);
  if (!stream.is_open()) {
    return unreadable(fileName, {errno != 0 ? errno : EIO, std::generic_category()});
  }
  return stream;
}

Result<std::string> readFileBytes(const std::filesystem::path& file, std::string_view fileName) {
  Result<std::ifstream> opened = openForReading(file, fileName);
  if (opened.failed()) {
    return opened.failure();
  }
  std::ifstream& stream = opened.value();
  // Room for the whole file where its size is known, filled a piece at a time: making the
  // string that size first would write the whole file's size of zeros for nothing. A file
  // that grows meanwhile, or a pipe, is read to its end all the same.
  std::string bytes;
  std::error_code sizeUnknown;
  const std::uintmax_t size = std::filesystem::file_size(file, sizeUnknown);
  if (!sizeUnknown) {
    bytes.reserve(static_cast<std::size_t>(size));
    adviseLargePages(bytes.data(), bytes.capacity());
  }
  const auto piece = std::make_unique<char[]>(kPiece);
  while (stream.read(piece.get(), kPiece) || stream.gcount() > 0) {
    bytes.append(piece.get(), static_cast<std::size_t>(stream.gcount()));
  }
  if (stream.bad()) {
    return unreadable(fileName, std::make_error_code(std::errc::io_error));
  }
  return bytes;
}

bool fileHolds(const std::filesystem::path& file, std::string_view bytes) {
  std::ifstream stream(file, std::ios::binary);
  const auto piece = std::make_unique<char[]>(kPiece);
  while (stream.read(piece.get(), kPiece) || stream.gcount() > 0) {
    const auto count = static_cast<std::size_t>(stream.gcount());
    if (bytes.substr(0, count) != std::string_view(piece.get(), count)) {
      return false;
    }
    bytes.remove_prefix(count);
  }
  return stream.eof() && !stream.bad() && bytes.empty();
}

}  // namespace velmora
