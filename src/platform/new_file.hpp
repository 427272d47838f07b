#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace velmora {

// A file this run has just created under a name nobody else was using. It is written
// through the system itself, so that each step reports its own failure, and it reaches
// stable storage before it takes another file's place. One implementation per platform.
class NewFile {
 public:
  // Creates path exclusively: when anything already has that name, fails with
  // std::errc::file_exists instead of opening it. The usual default mode applies.
  static NewFile create(const std::filesystem::path& path, std::error_code& failure);

  NewFile(NewFile&& other) noexcept;
  NewFile& operator=(NewFile&&) = delete;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  // Closes the file if it is still open; the file itself stays.
  ~NewFile();

  std::error_code write(std::string_view bytes);
  // Gives the file the permission bits of original and, where the process may, its owner and
  // group. A refused change of owner is not a failure.
  std::error_code copyAttributesOf(const std::filesystem::path& original);
  // Flushes the contents to stable storage, then closes the file.
  std::error_code syncAndClose();

 private:
  explicit NewFile(int handle) : handle_(handle) {}

  int handle_ = -1;
};

// Fails with the system's reason when this process may not write to the existing file:
// replacing it must not get round a write protection that overwriting it in place would meet.
std::error_code requireWritable(const std::filesystem::path& existing);

// Makes a rename inside folder survive a power cut.
std::error_code syncFolder(const std::filesystem::path& folder);

}  // namespace velmora
