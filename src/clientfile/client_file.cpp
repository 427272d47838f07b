#include "clientfile/client_file.hpp"

#include <sstream>
#include <vector>

#include "platform/safe_replace.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "text/filled.hpp"

namespace velmora {
namespace {

constexpr std::string_view kHeader[] = {
    "\"clients.txt\"",        "\n{",
    "\n\t\"version\"\t\"1\"", "\n\n\t// This key group lists all your client players",
    "\n\t\"players\"",        "\n\t{",
};
constexpr std::string_view kPlayersEnd = "\n\t}";
constexpr std::string_view kRootEnd = "\n}";

constexpr std::string_view kEntryStart[] = {
    "\n\t\t// This must be a unique client name",
    "\n\t\t\"%s\"",
    "\n\t\t{",
};
constexpr std::string_view kNameLines[] = {
    "\n\t\t\t// Client real name",
    "\n\t\t\t\"name\"\t\"%s\"",
};
static_assert(kEntryStart[0].ends_with(kEntryComment));
static_assert(kNameLines[0].ends_with(kNameComment));

constexpr std::string_view kSteamIdLines[] = {
    "\n\t\t\t// Steam ID for client",
    "\n\t\t\t\"steam\"\t\"%s\"",
};
constexpr std::string_view kIpAddressLines[] = {
    "\n\t\t\t// IP address for client",
    "\n\t\t\t\"ip\"\t\"%s\"",
};
static_assert(kSteamIdLines[0].ends_with(kSteamIdComment));
static_assert(kIpAddressLines[0].ends_with(kIpAddressComment));

constexpr std::string_view kPersonalGroupsStart[] = {
    "\n\t\t\t// These are personal access flags for a player",
    "\n\t\t\t\"groups\"",
    "\n\t\t\t{",
};
constexpr std::string_view kPersonalGroupsEnd = "\n\t\t\t}";
constexpr std::string_view kEntryEnd = "\n\t\t}";

// Writes text with each line feed as lineEnd.
void writeLines(std::ostream& file, std::string_view text, std::string_view lineEnd) {
  for (const char c : text) {
    if (c == '\n') {
      file << lineEnd;
    } else {
      file.put(c);
    }
  }
}

// Writes a piece with each line feed as lineEnd, and value, as the file holds it, in place of
// its "%s". Values hold no line feed of their own.
void writePiece(std::ostream& file, std::string_view piece, std::string_view lineEnd,
                std::string_view value = {}) {
  if (piece.find(kSlot) == std::string_view::npos) {
    writeLines(file, piece, lineEnd);
  } else {
    writeLines(file, filled(piece, {fileValue(value)}), lineEnd);
  }
}

template <std::size_t N>
void writePieces(std::ostream& file, const std::string_view (&pieces)[N], std::string_view lineEnd,
                 std::string_view value = {}) {
  for (const std::string_view piece : pieces) {
    writePiece(file, piece, lineEnd, value);
  }
}

// The menu's own line for a group it names; a line of the same kind for any other group.
template <typename Lines>
std::string groupPieceOf(const Lines& lines, std::string_view otherPiece, std::string_view group) {
  if (const auto* line = catalogue::lineNamed(lines, group)) {
    return std::string(line->piece);
  }
  return filled(otherPiece, {fileValue(group)});
}

void writeGroupLine(std::ostream& file, EntryPart part, const std::optional<std::string>& group,
                    std::string_view lineEnd) {
  if (group) {
    writeLines(file, groupPiece(part, *group), lineEnd);
  }
}

void writeEntryPart(std::ostream& file, EntryPart part, const EntryValues& entry,
                    std::string_view lineEnd) {
  switch (part) {
    case EntryPart::kName:
      writePieces(file, kNameLines, lineEnd, *entry.name);
      break;
    case EntryPart::kSteamId:
      writePieces(file, kSteamIdLines, lineEnd, *entry.steamId);
      break;
    case EntryPart::kIpAddress:
      writePieces(file, kIpAddressLines, lineEnd, *entry.ipAddress);
      break;
    case EntryPart::kGroups:
      writePieces(file, kPersonalGroupsStart, lineEnd);
      writeEntryPart(file, EntryPart::kAdminGroup, entry, lineEnd);
      writeEntryPart(file, EntryPart::kImmunityGroup, entry, lineEnd);
      writePiece(file, kPersonalGroupsEnd, lineEnd);
      break;
    case EntryPart::kAdminGroup:
      writeGroupLine(file, part, entry.adminGroup, lineEnd);
      break;
    case EntryPart::kImmunityGroup:
      writeGroupLine(file, part, entry.immunityGroup, lineEnd);
      break;
  }
}

void writeEntries(std::ostream& file, std::span<const EntryValues> entries,
                  std::string_view lineEnd) {
  for (const EntryValues& entry : entries) {
    writeClientEntry(file, entry, lineEnd);
  }
}

void writeClientsText(std::ostream& file, std::span<const EntryValues> entries) {
  writePieces(file, kHeader, kCrLf);
  writeEntries(file, entries, kCrLf);
  writePiece(file, kPlayersEnd, kCrLf);
  writeGroupCatalogue(file);
  writePiece(file, kRootEnd, kCrLf);
}

std::vector<EntryValues> entriesOf(const AdminRoster& roster) {
  std::vector<EntryValues> entries;
  for (int position = 1; position <= roster.count; ++position) {
    entries.push_back(entryValuesOf(roster.recordAt(position)));
  }
  return entries;
}

}  // namespace

std::string groupPiece(EntryPart part, std::string_view group) {
  return part == EntryPart::kAdminGroup
             ? groupPieceOf(catalogue::kAdminGroupLines, catalogue::kOtherAdminGroupPiece, group)
             : groupPieceOf(catalogue::kImmunityGroupLines, catalogue::kOtherImmunityGroupPiece,
                            group);
}

void writeClientEntry(std::ostream& file, const EntryValues& entry, std::string_view lineEnd) {
  writePiece(file, kEntryStart[0], lineEnd);
  writePiece(file, kEntryStart[1], lineEnd, entry.key);
  writePiece(file, kEntryStart[2], lineEnd);
  if (entry.name) {
    writeEntryPart(file, EntryPart::kName, entry, lineEnd);
  }
  if (entry.steamId) {
    writeEntryPart(file, EntryPart::kSteamId, entry, lineEnd);
  }
  if (entry.ipAddress) {
    writeEntryPart(file, EntryPart::kIpAddress, entry, lineEnd);
  }
  writeEntryPart(file, EntryPart::kGroups, entry, lineEnd);
  writePiece(file, kEntryEnd, lineEnd);
}

void writeClientEntry(std::ostream& file, const AdminRecord& admin, std::string_view lineEnd) {
  writeClientEntry(file, entryValuesOf(admin), lineEnd);
}

void writeGroupCatalogue(std::ostream& file) {
  for (const std::string_view piece : catalogue::kGlobalGroups) {
    writePiece(file, piece, kCrLf);
  }
}

std::string clientEntriesText(std::span<const EntryValues> entries, std::string_view lineEnd) {
  std::ostringstream text(std::ios::binary);
  writeEntries(text, entries, lineEnd);
  return std::move(text).str();
}

std::string entryPartText(EntryPart part, const EntryValues& entry, std::string_view lineEnd) {
  std::ostringstream text(std::ios::binary);
  writeEntryPart(text, part, entry, lineEnd);
  return std::move(text).str();
}

std::string clientsText(std::span<const EntryValues> entries) {
  std::ostringstream text(std::ios::binary);
  writeClientsText(text, entries);
  return std::move(text).str();
}

std::string clientsText(const AdminRoster& roster) { return clientsText(entriesOf(roster)); }

Result<> writeClientsFile(const AdminRoster& roster, const std::filesystem::path& file) {
  return replaceFileContents(file, clientsText(roster), kClientsFileName);
}

}  // namespace velmora
