#include "clientfile/clients_file_append.hpp"

#include <algorithm>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/file_layout.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"

namespace velmora {

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

TextEdit entriesAdded(const LoadedClientsFile& existing, std::span<const EntryValues> entries) {
  const std::string_view text = existing.bytes;
  const std::size_t at = insertionPoint(text, *existing.file.playersClose);
  const FileLayout layout = layoutOf(text, existing.file);
  return {at, at, reindented(clientEntriesText(entries, layout.lineEnd), layout.indentation)};
}

std::string withEntriesAdded(const LoadedClientsFile& existing, const AdminRoster& roster) {
  std::vector<EntryValues> entries;
  for (int position = 1; position <= roster.count; ++position) {
    entries.push_back(entryValuesOf(roster.recordAt(position)));
  }
  const TextEdit added = entriesAdded(existing, entries);
  return withEdits(existing.bytes, {&added, 1});
}

}  // namespace velmora
