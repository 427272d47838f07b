// Runs the clients-file reader on arbitrary bytes, and reads back what velmora writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/clients_file_list.hpp"
#include "clientfile/clients_file_reader.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/groups_edit.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "keyvalues/key_values.hpp"
#include "roster/entry_rules.hpp"
#include "support/json_checker.hpp"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::cerr << "invariant broken: " << what << '\n';
    std::abort();
  }
}

velmora::ClientsFile readBack(const std::string& text) {
  velmora::ParsedClientsFile parsed = velmora::parseClientsFile(text);
  require(!parsed.document.error, "what velmora writes parses");
  return std::move(parsed.file);
}

// Each entry of the file read back says what its admin's answers say, and names only groups
// that the file defines.
void requireSameAdmins(const velmora::ClientsFile& file, const velmora::AdminRoster& roster,
                       std::size_t firstEntry) {
  for (int position = 1; position <= roster.count; ++position) {
    const velmora::AdminRecord& admin = roster.recordAt(position);
    const velmora::ClientEntry& entry = file.entries.at(firstEntry + position - 1);
    require(entry.facts == velmora::entryFactsOf(admin), "an entry reads back as written");
    const bool immune = admin.immunityGroup >= 1 && admin.immunityGroup <= 5;
    require(file.groupsOf(firstEntry + position - 1).size() ==
                (entry.facts.hasAdminGroup ? 1U : 0U) + (immune ? 1U : 0U),
            "an entry's groups read back as written");
  }
  require(velmora::undefinedGroups(file).empty(), "every group named is defined");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // Whatever the bytes, reading and checking them ends with a report.
  const velmora::CheckReport report = velmora::checkClientsText("f", input);
  require(!report.lines.empty(), "a report ends");
  require(velmora::testing::JsonChecker::isValid(report.json), "the report in JSON is valid");

  // Taking out the first entry's admins leaves a file that still parses, with the others.
  if (const velmora::ParsedClientsFile parsed = velmora::parseClientsFile(input);
      !parsed.document.error) {
    const velmora::ClientsFile& file = parsed.file;
    if (!file.entries.empty()) {
      const velmora::Removal removal =
          velmora::withoutAdmins(input, file, file.entries.front().facts.name);
      const std::string without = velmora::withEdits(input, removal.edits);
      const velmora::ParsedClientsFile rest = velmora::parseClientsFile(without);
      require(!rest.document.error, "a file without some admins still parses");
      require(rest.file.entries.size() == file.entries.size() - removal.removed.size(),
              "the other admins stay");
    }
    // The first entry changed in place to hold the last one's values: the text still parses,
    // and where the change holds, every other entry is as it was.
    if (!file.entries.empty() && file.entries.front().isBlock) {
      velmora::EntryValues wanted = file.valuesOf(file.entries.size() - 1);
      wanted.key = file.entries.front().facts.name;
      if (wanted.steamId && wanted.ipAddress) {
        wanted.ipAddress.reset();
      }
      const velmora::EntryEdits entryEdits =
          velmora::entryEdits(input, file, velmora::layoutOf(input, file), 0, wanted);
      const std::vector<velmora::TextEdit>& edits = entryEdits.edits;
      const std::string changed = velmora::withEdits(input, edits);
      const velmora::ParsedClientsFile edited = velmora::parseClientsFile(changed);
      require(!edited.document.error, "an entry changed in place still parses");
      const velmora::ClientsFile& after = edited.file;
      const bool holdsInFile = !after.entries.empty() && after.valuesOf(0) == wanted;
      // The check of the entry's text alone says what a reading of the whole file says.
      require(velmora::editedEntryHolds(input, file, 0, edits, wanted) == holdsInFile,
              "the entry alone reads as it does in the file");
      // Edits that only put tokens in the place of others need no second reading.
      require(entryEdits.reshapes || holdsInFile, "an entry with tokens replaced holds them");
      if (holdsInFile) {
        require(after.entries.size() == file.entries.size(), "no entry comes or goes");
        for (std::size_t i = 1; i < file.entries.size(); ++i) {
          require(after.valuesOf(i) == file.valuesOf(i), "other entries stay");
        }
      }
    }
    require(velmora::adminTable(file).size() == file.entries.size() + 1, "one line per admin");
    std::ostringstream listed;
    velmora::writeAdminListJson(listed, file);
    require(velmora::testing::JsonChecker::isValid(listed.str()), "the list in JSON is valid");
    std::ostringstream groups;
    velmora::writeGroupListJson(groups, file);
    require(velmora::testing::JsonChecker::isValid(groups.str()), "the groups in JSON are valid");
    require(velmora::groupTable(file).size() == velmora::definedGroupsOf(file).size() + 1,
            "one line per group");
    // The file's own groups, given back to it, change nothing.
    std::vector<velmora::RosterGroup> same;
    for (const velmora::DefinedGroup& group : velmora::definedGroupsOf(file)) {
      same.push_back({group.kind, group.name, group.flagText()});
    }
    require(!velmora::planGroups(file, same, true).changesFile(), "a file holds its own groups");
  }

  std::stringbuf source(input);
  std::ostringstream console;
  velmora::Console operatorConsole(source, console);
  velmora::AdminRoster roster;
  velmora::runDialogue(roster, operatorConsole);
  if (!roster.selectsAdmins()) {
    return 0;
  }
  const std::string text = velmora::clientsText(roster);
  const velmora::ClientsFile file = readBack(text);
  require(file.entries.size() == static_cast<std::size_t>(roster.count), "one entry per admin");
  requireSameAdmins(file, roster, 0);

  // The same admins added to that file once more: the old entries stay and the new follow.
  velmora::LoadedClientsFile existing{.exists = true, .bytes = text, .file = file};
  const std::string added = velmora::withEntriesAdded(existing, roster);
  require(added.starts_with(text.substr(0, text.find("\r\n\t}\r\n\t//"))), "old bytes kept");
  const velmora::ClientsFile twice = readBack(added);
  require(twice.entries.size() == 2U * static_cast<std::size_t>(roster.count), "entries added");
  requireSameAdmins(twice, roster, static_cast<std::size_t>(roster.count));
  require(velmora::undefinedGroupsOfAdded(file, roster).empty(), "added groups are defined");
  return 0;
}
