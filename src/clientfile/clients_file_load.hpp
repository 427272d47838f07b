#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"
#include "platform/result.hpp"

namespace velmora {

// What a mode makes of a clients file that does not exist.
enum class MissingFile {
  kAllowed,  // no failure: there is simply nothing there yet
  kRefused,  // a failure, worded as the system words it
};

// The bytes of a clients file, or why they cannot be used: the file cannot be read, or it is
// UTF-16 text. fileName is the file as the operator knows it.
Result<std::string> readClientsText(const std::filesystem::path& file, std::string_view fileName);

// A clients file as read from disk, for a mode that works with an existing file.
struct LoadedClientsFile {
  bool exists = false;  // false only for a missing file that was allowed
  std::string bytes;
  ClientsFile file;
};

// Reads and parses file, shown to the operator as fileName. purpose says what could not be
// done with a file that cannot be parsed, as in "velmora: cannot add to clients.txt: line 3:".
Result<LoadedClientsFile> loadClientsFile(const std::filesystem::path& file,
                                          std::string_view fileName, std::string_view purpose,
                                          MissingFile missing,
                                          EntryPlaces places = EntryPlaces::kRead);

}  // namespace velmora
