#include "clientfile/roster_apply.hpp"

#include <algorithm>
#include <unordered_map>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/held_values.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

// The index of each entry by its key, letter case aside, as the server finds entries; the
// first of entries with one key.
std::unordered_map<std::string, std::size_t> entriesByKey(const ClientsFile& file) {
  std::unordered_map<std::string, std::size_t> entries;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    entries.emplace(foldedCase(file.entries[index].facts.name), index);
  }
  return entries;
}

// The roster as the file holds it, its groups as the file spells them.
Result<std::vector<EntryValues>> asHeldBy(const ClientsFile& file, std::string_view fileName,
                                          std::span<const EntryValues> roster) {
  std::vector<EntryValues> wanted;
  for (const EntryValues& admin : roster) {
    EntryValues values = admin;
    for (const EntryField& field : kEntryFields) {
      std::optional<std::string>& group = values.*field.member;
      if (!field.groupKind.empty() && group) {
        Result<std::string> spelled = heldGroup(file, fileName, field.groupKind, *group);
        if (spelled.failed()) {
          return spelled.failure();
        }
        group = std::move(spelled.value());
      }
    }
    wanted.push_back(std::move(values));
  }
  return wanted;
}

// Checks the edited text against the roster before anything is written: each admin of wanted
// must be there as wanted. Gives the warnings about the admins added and changed.
void checkEdited(RosterChange& change, std::string_view text, std::string_view fileName,
                 const std::vector<EntryValues>& wanted) {
  const std::string edited = withEdits(text, change.edits);
  const ParsedClientsFile parsed = parseClientsFile(edited, EntryPlaces::kSkipped);
  const ClientsFile& after = parsed.file;
  const std::unordered_map<std::string, std::size_t> entryOfKey = entriesByKey(after);
  std::vector<std::size_t> touched;
  for (const EntryValues& admin : wanted) {
    const auto match = entryOfKey.find(foldedCase(admin.key));
    if (parsed.document.error || match == entryOfKey.end() ||
        after.valuesOf(match->second) != admin) {
      change.failure = Failure{"velmora: cannot apply the roster to " + std::string(fileName) +
                               ": the entry of \"" + admin.key +
                               "\" is laid out in a way velmora cannot change safely"};
      return;
    }
    const bool isChanged =
        std::find(change.changed.begin(), change.changed.end(), admin.key) !=
            change.changed.end() ||
        std::find(change.added.begin(), change.added.end(), admin.key) != change.added.end();
    if (isChanged) {
      touched.push_back(match->second);
    }
  }
  change.warnings = entryWarnings(after.entryFacts(), touched);
}

}  // namespace

LoadedClientsFile newClientsFile() {
  LoadedClientsFile loaded;
  loaded.bytes = clientsText(std::span<const EntryValues>{});
  loaded.file = parseClientsFile(loaded.bytes).file;
  return loaded;
}

std::optional<Failure> rosterRefusal(const ClientsFile& file, std::string_view fileName) {
  const std::string cannot =
      "velmora: cannot apply the roster to " + std::string(fileName) + ": line ";
  if (!file.playersClose) {
    return Failure{cannot + std::to_string(file.rootLine) + ": no \"players\" block"};
  }
  const std::unordered_map<std::string, std::size_t> keys = entriesByKey(file);
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const ClientEntry& entry = file.entries[index];
    const std::size_t first = keys.at(foldedCase(entry.facts.name));
    if (first != index) {
      const ClientEntry& earlier = file.entries[first];
      return Failure{cannot + std::to_string(entry.line) + ": " +
                     adminLabel(index, entry.facts.name) + " has the same key as " +
                     adminLabel(first, earlier.facts.name) + " at line " +
                     std::to_string(earlier.line) + ", so the roster cannot say which it means"};
    }
  }
  return std::nullopt;
}

RosterChange rosterChange(const LoadedClientsFile& target, std::string_view fileName,
                          std::span<const EntryValues> roster, bool prune) {
  RosterChange change;
  change.createsFile = !target.exists;
  const ClientsFile& file = target.file;
  const Result<std::vector<EntryValues>> wanted = asHeldBy(file, fileName, roster);
  if (wanted.failed()) {
    change.failure = wanted.failure();
    return change;
  }
  const std::string& text = target.bytes;
  const std::unordered_map<std::string, std::size_t> entryOfKey = entriesByKey(file);
  std::vector<bool> named(file.entries.size());
  std::vector<EntryValues> added;
  for (const EntryValues& admin : wanted.value()) {
    const auto match = entryOfKey.find(foldedCase(admin.key));
    if (match == entryOfKey.end()) {
      added.push_back(admin);
      change.added.push_back(admin.key);
      continue;
    }
    named[match->second] = true;
    if (file.valuesOf(match->second) != admin) {
      const std::vector<TextEdit> edits = entryEdits(text, file, match->second, admin);
      change.edits.insert(change.edits.end(), edits.begin(), edits.end());
      change.changed.push_back(admin.key);
    }
  }
  if (prune) {
    std::vector<std::size_t> unnamed;
    for (std::size_t index = 0; index < file.entries.size(); ++index) {
      if (!named[index]) {
        unnamed.push_back(index);
        change.removed.push_back(file.entries[index].facts.name);
      }
    }
    const Removal removal = withoutEntries(text, file, unnamed);
    change.edits.insert(change.edits.end(), removal.edits.begin(), removal.edits.end());
  }
  if (!added.empty()) {
    change.edits.push_back(entriesAdded(target, added));
  }
  if (!change.changesFile()) {
    return change;
  }
  change.edits = inTextOrder(text, std::move(change.edits));
  checkEdited(change, text, fileName, wanted.value());
  if (!target.exists && !change.failure) {
    change.edits = {TextEdit{0, 0, withEdits(text, change.edits)}};
  }
  return change;
}

}  // namespace velmora
