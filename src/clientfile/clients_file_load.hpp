#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {

// A clients file as read from disk, for a mode that works with an existing file.
struct LoadedClientsFile {
  bool exists = false;
  std::string bytes;
  ClientsFile file;
  // Why the file cannot be used, as the line that tells the operator: it cannot be read, it is
  // UTF-16 text, or it cannot be parsed. Empty otherwise, also when the file does not exist.
  std::string failure;
};

// Reads file, shown to the operator as fileName. purpose says what could not be done with a
// file that cannot be parsed, as in "velmora: cannot add to clients.txt: line 3: ...".
LoadedClientsFile loadClientsFile(const std::filesystem::path& file, std::string_view fileName,
                                  std::string_view purpose);

// The line for a file that does not exist, as the system words it.
std::string absenceOf(std::string_view fileName);

}  // namespace velmora
