#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"
#include "roster/admin_roster.hpp"

namespace velmora {

// A clients.txt that new entries are to be added to, as read from disk.
struct ExistingClientsFile {
  bool exists = false;
  std::string bytes;
  ClientsFile file;
  // Why nothing can be added to it, as the line that tells the operator: it cannot be read,
  // cannot be parsed, or has no "players" block. Empty when entries can be added.
  std::string failure;
};

// Reads file (shown to the operator as fileName) to add entries to it. A file that does not
// exist is no failure: the entries then make a new file.
ExistingClientsFile readForAdding(const std::filesystem::path& file, std::string_view fileName);

// The existing text with the roster's entries inserted at the end of its "players" block,
// before the line of the block's closing brace, in the file's own line ends: LF for a file
// that uses LF throughout, CR LF otherwise. Every existing byte stays as it was, so adding to
// a file velmora wrote gives exactly the file one run with all the admins would write.
std::string withEntriesAdded(const ExistingClientsFile& existing, const AdminRoster& roster);

}  // namespace velmora
