#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.hpp"
#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

inline constexpr std::string_view kClientsFileName = "clients.txt";
inline constexpr std::string_view kCrLf = "\r\n";
// The comment lines velmora writes above an entry and above some of its values, without
// their indentation.
inline constexpr std::string_view kEntryComment = "// This must be a unique client name";
inline constexpr std::string_view kNameComment = "// Client real name";
inline constexpr std::string_view kSteamIdComment = "// Steam ID for client";
inline constexpr std::string_view kIpAddressComment = "// IP address for client";

// The parts of an entry that an edit in place adds on their own.
enum class EntryPart { kName, kSteamId, kIpAddress, kGroups, kAdminGroup, kImmunityGroup };

// Pieces are written with every line feed as CR LF, whatever the platform (an entry added to
// an existing file takes that file's line ends); file must be a binary stream so that nothing
// doubles the CR.
void writeClientEntry(std::ostream& file, const AdminRecord& admin,
                      std::string_view lineEnd = kCrLf);
void writeClientEntry(std::ostream& file, const EntryValues& entry,
                      std::string_view lineEnd = kCrLf);
void writeGroupCatalogue(std::ostream& file);
// The whole file for positions 1 to roster.count; the roster must select admins.
std::string clientsText(const AdminRoster& roster);
// The whole file for entries, as velmora writes a new one.
std::string clientsText(std::span<const EntryValues> entries);
// The entries alone, each line feed written as lineEnd.
std::string clientEntriesText(std::span<const EntryValues> entries, std::string_view lineEnd);
// The piece writeClientEntry writes for group as the part kAdminGroup or kImmunityGroup: the
// menu's own line for a group on the menu, a line of that kind for any other.
std::string groupPiece(EntryPart part, std::string_view group);
// One part of entry as writeClientEntry writes it, beginning with its line end: the part's
// lines with their comments, the groups block with its two groups.
std::string entryPartText(EntryPart part, const EntryValues& entry, std::string_view lineEnd);

// Replaces file, clients.txt by default, with the roster's file, all or nothing: on failure any
// existing file is left as it was and the reason is returned.
Result<> writeClientsFile(const AdminRoster& roster,
                          const std::filesystem::path& file = kClientsFileName);

}  // namespace velmora
