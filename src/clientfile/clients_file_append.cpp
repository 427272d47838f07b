#include "clientfile/clients_file_append.hpp"

#include <algorithm>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_check.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "text/text_lines.hpp"

namespace velmora {
namespace {

std::string_view lineEndOf(std::string_view text) {
  const bool hasLineFeed = text.find('\n') != std::string_view::npos;
  return hasLineFeed && text.find("\r\n") == std::string_view::npos ? "\n" : kCrLf;
}

// Just after the last thing in the block: the closing brace's indentation and the line end
// before it are left for after the new entries, which each begin with a line end.
std::size_t insertionPoint(std::string_view text, std::size_t closingBrace) {
  std::size_t at = closingBrace;
  while (at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t')) {
    --at;
  }
  if (at > 0 && text[at - 1] == '\n') {
    --at;
    if (at > 0 && text[at - 1] == '\r') {
      --at;
    }
  }
  return at;
}

// The white space from the start of at's line to at; empty unless there is only white space.
std::string_view indentationBefore(std::string_view text, std::size_t at) {
  const std::size_t lineStart = startOfLine(text, at);
  const std::string_view before = text.substr(lineStart, at - lineStart);
  return before.find_first_not_of(" \t") == std::string_view::npos ? before : std::string_view{};
}

// How the file indents its entries (two levels in), and one level more inside them: taken from
// the first entry that begins its line, and the "players" key above it; velmora's own tabs
// when there is none.
struct Indentation {
  std::string entry = "\t\t";
  std::string level = "\t";
};

Indentation indentationOf(std::string_view text, const ClientsFile& file) {
  Indentation indentation;
  const auto first = std::find_if(
      file.entries.begin(), file.entries.end(),
      [text](const ClientEntry& entry) { return !indentationBefore(text, entry.offset).empty(); });
  if (first == file.entries.end()) {
    return indentation;
  }
  indentation.entry = indentationBefore(text, first->offset);
  const std::string_view players = indentationBefore(text, file.playersOffset);
  if (indentation.entry.size() > players.size() && indentation.entry.starts_with(players)) {
    indentation.level = indentation.entry.substr(players.size());
  } else {
    indentation.level = indentation.entry.substr(0, (indentation.entry.size() + 1) / 2);
  }
  return indentation;
}

// entries, written with velmora's tabs, in the file's own indentation: a line's leading tabs,
// two or more, become the entry indentation and a level for each tab beyond two.
std::string reindented(std::string_view entries, const Indentation& indentation) {
  std::string result;
  while (!entries.empty()) {
    const std::size_t tabs = entries.find_first_not_of('\t');
    if (tabs >= 2 && tabs != std::string_view::npos) {
      result += indentation.entry;
      for (std::size_t level = 2; level < tabs; ++level) {
        result += indentation.level;
      }
      entries.remove_prefix(tabs);
    }
    const std::size_t lineEnd = endOfLine(entries, 0);
    result.append(entries.substr(0, lineEnd));
    entries.remove_prefix(lineEnd);
  }
  return result;
}

}  // namespace

Result<LoadedClientsFile> readForAdding(const std::filesystem::path& file,
                                        std::string_view fileName) {
  Result<LoadedClientsFile> existing =
      loadClientsFile(file, fileName, "add to", MissingFile::kAllowed);
  if (!existing.failed() && existing.value().exists && !existing.value().file.playersClose) {
    return Failure{"velmora: cannot add to " + std::string(fileName) + ": line " +
                   std::to_string(existing.value().file.rootLine) + ": no \"players\" block"};
  }
  return existing;
}

std::vector<std::string> undefinedGroupsOfAdded(const ClientsFile& existing,
                                                const AdminRoster& roster) {
  std::vector<std::string> messages;
  const auto check = [&](std::size_t index, const AdminRecord& admin, std::string_view kind,
                         const auto* line) {
    if (line != nullptr && !existing.defines(kind, line->name)) {
      messages.push_back(
          undefinedGroupMessage(index, fileValue(admin.name.view()), kind, line->name));
    }
  };
  for (int position = 1; position <= roster.count; ++position) {
    const AdminRecord& admin = roster.recordAt(position);
    const std::size_t index = existing.entries.size() + static_cast<std::size_t>(position) - 1;
    check(index, admin, catalogue::kAdminKind,
          catalogue::lineFor(catalogue::kAdminGroupLines, admin.adminGroup));
    check(index, admin, catalogue::kImmunityKind,
          catalogue::lineFor(catalogue::kImmunityGroupLines, admin.immunityGroup));
  }
  return messages;
}

std::string withEntriesAdded(const LoadedClientsFile& existing, const AdminRoster& roster) {
  const std::string_view text = existing.bytes;
  const std::size_t at = insertionPoint(text, *existing.file.playersClose);
  return std::string(text.substr(0, at))
      .append(reindented(clientEntriesText(roster, lineEndOf(text)),
                         indentationOf(text, existing.file)))
      .append(text.substr(at));
}

}  // namespace velmora
