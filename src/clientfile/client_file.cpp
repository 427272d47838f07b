#include "clientfile/client_file.hpp"

#include <sstream>

#include "clientfile/safe_replace.hpp"
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
    "\n\t\t\t// Client real name",
    "\n\t\t\t\"name\"\t\"%s\"",
};
static_assert(kEntryStart[0].ends_with(kEntryComment));

constexpr std::string_view kSteamIdLines[] = {
    "\n\t\t\t// Steam ID for client",
    "\n\t\t\t\"steam\"\t\"%s\"",
};
constexpr std::string_view kIpAddressLines[] = {
    "\n\t\t\t// IP address for client",
    "\n\t\t\t\"ip\"\t\"%s\"",
};
constexpr std::string_view kPersonalGroupsStart[] = {
    "\n\t\t\t// These are personal access flags for a player",
    "\n\t\t\t\"groups\"",
    "\n\t\t\t{",
};
constexpr std::string_view kEntryEnd[] = {
    "\n\t\t\t}",
    "\n\t\t}",
};

// Writes a piece with each line feed as lineEnd, and value, as the file holds it, in place of
// its "%s". Values are single words, so they hold no line feed of their own.
void writePiece(std::ostream& file, std::string_view piece, std::string_view lineEnd,
                std::string_view value = {}) {
  const std::string text = piece.find(kSlot) == std::string_view::npos
                               ? std::string(piece)
                               : filled(piece, {fileValue(value)});
  for (const char c : text) {
    if (c == '\n') {
      file << lineEnd;
    } else {
      file.put(c);
    }
  }
}

template <std::size_t N>
void writePieces(std::ostream& file, const std::string_view (&pieces)[N], std::string_view lineEnd,
                 std::string_view value = {}) {
  for (const std::string_view piece : pieces) {
    writePiece(file, piece, lineEnd, value);
  }
}

// The piece of the line whose group matches the typed code; nothing for any other code.
template <typename Lines>
void writeGroupLine(std::ostream& file, const Lines& lines, std::int32_t typed,
                    std::string_view lineEnd) {
  if (const auto* line = catalogue::lineFor(lines, typed)) {
    writePiece(file, line->piece, lineEnd);
  }
}

}  // namespace

void writeClientEntry(std::ostream& file, const AdminRecord& admin, std::string_view lineEnd) {
  writePieces(file, kEntryStart, lineEnd, admin.name.view());
  if (isCode(admin.idMethod, IdMethod::kBySteamId)) {
    writePieces(file, kSteamIdLines, lineEnd, admin.steamId.view());
  }
  if (isCode(admin.idMethod, IdMethod::kByIpAddress)) {
    writePieces(file, kIpAddressLines, lineEnd, admin.ipAddress.view());
  }
  writePieces(file, kPersonalGroupsStart, lineEnd);
  writeGroupLine(file, catalogue::kAdminGroupLines, admin.adminGroup, lineEnd);
  // Only the group decides: an admin who declined immunity has the cleared group 0.
  writeGroupLine(file, catalogue::kImmunityGroupLines, admin.immunityGroup, lineEnd);
  writePieces(file, kEntryEnd, lineEnd);
}

void writeGroupCatalogue(std::ostream& file) {
  for (const std::string_view piece : catalogue::kGlobalGroups) {
    writePiece(file, piece, kCrLf);
  }
}

void writeClientsText(std::ostream& file, const AdminRoster& roster) {
  writePieces(file, kHeader, kCrLf);
  for (int position = 1; position <= roster.count; ++position) {
    writeClientEntry(file, roster.recordAt(position));
  }
  writePiece(file, kPlayersEnd, kCrLf);
  writeGroupCatalogue(file);
  writePiece(file, kRootEnd, kCrLf);
}

std::string clientEntriesText(const AdminRoster& roster, std::string_view lineEnd) {
  std::ostringstream text(std::ios::binary);
  for (int position = 1; position <= roster.count; ++position) {
    writeClientEntry(text, roster.recordAt(position), lineEnd);
  }
  return std::move(text).str();
}

std::string clientsText(const AdminRoster& roster) {
  std::ostringstream text(std::ios::binary);
  writeClientsText(text, roster);
  return std::move(text).str();
}

Result<> writeClientsFile(const AdminRoster& roster, const std::filesystem::path& directory) {
  return replaceFileContents(directory / kClientsFileName, clientsText(roster), kClientsFileName);
}

}  // namespace velmora
