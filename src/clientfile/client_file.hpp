#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "clientfile/result.hpp"
#include "roster/admin_roster.hpp"

namespace velmora {

inline constexpr std::string_view kClientsFileName = "clients.txt";
inline constexpr std::string_view kCrLf = "\r\n";
// The comment line velmora writes above each client entry, without its indentation.
inline constexpr std::string_view kEntryComment = "// This must be a unique client name";

// Pieces are written with every line feed as CR LF, whatever the platform (an entry added to
// an existing file takes that file's line ends); file must be a binary stream so that nothing
// doubles the CR.
void writeClientEntry(std::ostream& file, const AdminRecord& admin,
                      std::string_view lineEnd = kCrLf);
void writeGroupCatalogue(std::ostream& file);
// The whole file for positions 1 to roster.count; the roster must select admins.
void writeClientsText(std::ostream& file, const AdminRoster& roster);
std::string clientsText(const AdminRoster& roster);
// The entries of positions 1 to roster.count alone, each line feed written as lineEnd.
std::string clientEntriesText(const AdminRoster& roster, std::string_view lineEnd);

// Replaces clients.txt in directory with the roster's file, all or nothing: on failure any
// existing file is left as it was and the reason is returned.
Result<> writeClientsFile(const AdminRoster& roster, const std::filesystem::path& directory = ".");

}  // namespace velmora
