#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_load.hpp"
#include "clientfile/text_edits.hpp"
#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// Reads file (shown to the operator as fileName) to add entries to it. A file that does not
// exist is no failure: the entries then make a new file. A file without a "players" block is.
Result<LoadedClientsFile> readForAdding(const std::filesystem::path& file,
                                        std::string_view fileName);

// The insertion of entries at the end of the existing text's "players" block, before the line
// of the block's closing brace, in the file's own line ends (LF for a file that uses LF
// throughout, CR LF otherwise) and the indentation of the entries already there. Every
// existing byte stays as it was, so adding to a file velmora wrote gives exactly the file one
// run with all the admins would write.
TextEdit entriesAdded(const LoadedClientsFile& existing, std::span<const EntryValues> entries);

// The existing text with the roster's entries added, as entriesAdded adds them.
std::string withEntriesAdded(const LoadedClientsFile& existing, const AdminRoster& roster);

// The warnings' text for each group that the roster's admins are put in but the existing file
// does not define; the admins are numbered after the file's entries.
std::vector<std::string> undefinedGroupsOfAdded(const ClientsFile& existing,
                                                const AdminRoster& roster);

}  // namespace velmora
