#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {

// What a mode makes of a clients file that does not exist.
enum class MissingFile {
  kAllowed,  // no failure: there is simply nothing there yet
  kRefused,  // a failure, worded as the system words it
};

// The bytes of a clients file, or nothing and the line that tells the operator why not: it
// cannot be read, or it is UTF-16 text. fileName is the file as the operator knows it.
std::optional<std::string> readClientsText(const std::filesystem::path& file,
                                           std::string_view fileName, MissingFile missing,
                                           std::string& failure);

// A clients file as read from disk, for a mode that works with an existing file.
struct LoadedClientsFile {
  bool exists = false;
  std::string bytes;
  ClientsFile file;
  // Why the file cannot be used, as the line that tells the operator: it cannot be read, it is
  // UTF-16 text, or it cannot be parsed. Empty otherwise, also when an allowed file is missing.
  std::string failure;
};

// Reads and parses file, shown to the operator as fileName. purpose says what could not be
// done with a file that cannot be parsed, as in "velmora: cannot add to clients.txt: line 3:".
LoadedClientsFile loadClientsFile(const std::filesystem::path& file, std::string_view fileName,
                                  std::string_view purpose, MissingFile missing);

}  // namespace velmora
