#include "clientfile/roster_apply.hpp"

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/held_values.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/letter_case_index.hpp"

namespace velmora {
namespace {

// The roster as a file holds it: each admin as given, or, where the file spells one of its
// groups otherwise, a copy with the file's spelling. A roster listed from a file spells its
// groups as the file does, so copies are few.
struct SpelledRoster {
  std::vector<const EntryValues*> admins;
  std::deque<EntryValues> respelled;  // the copies, which stay where they are as it grows
};

// Whether the file defines group under kind spelled as it is, as most rosters' groups are.
bool spelledAsDefined(const ClientsFile& file, std::string_view kind, std::string_view group) {
  const GroupUse* defined = file.definition(kind, group);
  return defined != nullptr && defined->group == group &&
         group.find_first_of("\"\\") == std::string_view::npos;
}

// The roster's groups as the file spells them, or the refusal of one it does not define.
std::optional<Failure> holdGroups(const ClientsFile& file, std::string_view fileName,
                                  std::span<const EntryValues> roster, SpelledRoster& spelled) {
  spelled.admins.reserve(roster.size());
  // Groups repeat from admin to admin: each spelled as the file does is looked up once.
  std::vector<std::pair<std::string_view, std::string_view>> asDefined;
  for (const EntryValues& admin : roster) {
    const EntryValues* held = &admin;
    for (const EntryField& field : kEntryFields) {
      const std::optional<std::string>& group = admin.*field.member;
      if (field.groupKind.empty() || !group) {
        continue;
      }
      const std::pair kindAndGroup(field.groupKind, std::string_view(*group));
      if (std::find(asDefined.begin(), asDefined.end(), kindAndGroup) != asDefined.end()) {
        continue;
      }
      if (spelledAsDefined(file, field.groupKind, *group)) {
        asDefined.push_back(kindAndGroup);
        continue;
      }
      Result<std::string> spelling = heldGroup(file, fileName, field.groupKind, *group);
      if (spelling.failed()) {
        return spelling.failure();
      }
      if (held == &admin) {
        held = &spelled.respelled.emplace_back(admin);
      }
      spelled.respelled.back().*field.member = std::move(spelling.value());
    }
    spelled.admins.push_back(held);
  }
  return std::nullopt;
}

Failure layoutRefusal(std::string_view fileName, std::string_view key) {
  return {"velmora: cannot apply the roster to " + std::string(fileName) + ": the entry of \"" +
          std::string(key) + "\" is laid out in a way velmora cannot change safely"};
}

// Whether the entries insertion adds read as the admins added, before anything is written.
bool addedEntriesHold(const TextEdit& insertion, std::span<const EntryValues* const> added) {
  const std::optional<ClientsFile> entries = parseEntries(insertion.replacement);
  if (!entries || entries->entries.size() != added.size()) {
    return false;
  }
  for (std::size_t i = 0; i < added.size(); ++i) {
    if (!entries->holds(i, *added[i])) {
      return false;
    }
  }
  return true;
}

// The entries of the file once changed, as the rules see them: each in its place unless it is
// removed, those changed as they then are, and those added at the end. Only the changed and
// added are made anew, in made; about marks them.
std::vector<const EntryFacts*> factsAfter(const ClientsFile& file,
                                          std::span<const EntryValues* const> changedTo,
                                          const std::vector<bool>& removed,
                                          std::span<const EntryValues* const> added,
                                          std::deque<EntryFacts>& made,
                                          std::vector<std::size_t>& about) {
  std::vector<const EntryFacts*> facts;
  facts.reserve(file.entries.size() + added.size());
  const auto addMade = [&](const EntryValues& admin) {
    about.push_back(facts.size());
    facts.push_back(&made.emplace_back(entryFactsOf(admin)));
  };
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    if (removed[index]) {
      continue;
    }
    if (changedTo[index] != nullptr) {
      addMade(*changedTo[index]);
    } else {
      facts.push_back(&file.entries[index].facts);
    }
  }
  for (const EntryValues* admin : added) {
    addMade(*admin);
  }
  return facts;
}

}  // namespace

LetterCaseAsideIndex entriesByKey(const ClientsFile& file) {
  std::vector<std::string_view> keys(file.entries.size());
  std::transform(file.entries.begin(), file.entries.end(), keys.begin(),
                 [](const ClientEntry& entry) { return std::string_view(entry.facts.name); });
  return LetterCaseAsideIndex(std::move(keys));
}

LoadedClientsFile newClientsFile() {
  LoadedClientsFile loaded;
  loaded.bytes = clientsText(std::span<const EntryValues>{});
  loaded.file = parseClientsFile(loaded.bytes).file;
  return loaded;
}

std::optional<Failure> rosterRefusal(const ClientsFile& file, const LetterCaseAsideIndex& keys,
                                     std::string_view fileName) {
  const std::string cannot =
      "velmora: cannot apply the roster to " + std::string(fileName) + ": line ";
  if (!file.playersClose) {
    return Failure{cannot + std::to_string(file.rootLine) + ": no \"players\" block"};
  }
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const ClientEntry& entry = file.entries[index];
    const std::size_t first = keys.firstLike(index);
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

RosterChange rosterChange(const LoadedClientsFile& target, const LetterCaseAsideIndex& keys,
                          std::string_view fileName, std::span<const EntryValues> roster,
                          bool prune) {
  RosterChange change;
  change.createsFile = !target.exists;
  const ClientsFile& file = target.file;
  SpelledRoster spelled;
  if (std::optional<Failure> refusal = holdGroups(file, fileName, roster, spelled)) {
    change.failure = std::move(refusal);
    return change;
  }
  const std::string& text = target.bytes;
  const FileLayout layout = layoutOf(text, file);
  std::vector<const EntryValues*> changedTo(file.entries.size());
  std::vector<bool> named(file.entries.size());
  std::vector<const EntryValues*> added;
  // The entries reshaped, with where each one's edits stand among all the edits.
  struct Reshaped {
    std::size_t index;
    std::size_t firstEdit;
    std::size_t editCount;
    const EntryValues* admin;
  };
  std::vector<Reshaped> reshaped;
  for (const EntryValues* admin : spelled.admins) {
    const std::optional<std::size_t> match = keys.find(admin->key);
    if (!match) {
      added.push_back(admin);
      change.added.push_back(admin->key);
      continue;
    }
    const std::size_t index = *match;
    named[index] = true;
    if (!file.holds(index, *admin)) {
      EntryEdits edits = entryEdits(text, file, layout, index, *admin);
      if (edits.reshapes) {
        reshaped.push_back({index, change.edits.size(), edits.edits.size(), admin});
      }
      std::move(edits.edits.begin(), edits.edits.end(), std::back_inserter(change.edits));
      change.changed.push_back(admin->key);
      changedTo[index] = admin;
    }
  }
  std::vector<EntryChange> changes(reshaped.size());
  std::transform(reshaped.begin(), reshaped.end(), changes.begin(), [&](const Reshaped& entry) {
    return EntryChange{entry.index,
                       std::span(change.edits).subspan(entry.firstEdit, entry.editCount),
                       entry.admin};
  });
  if (const std::optional<std::size_t> notHolding = firstChangeNotHolding(text, file, changes)) {
    change.failure = layoutRefusal(fileName, changes[*notHolding].wanted->key);
    return change;
  }
  std::vector<bool> removed(file.entries.size());
  if (prune) {
    std::vector<std::size_t> unnamed;
    for (std::size_t index = 0; index < file.entries.size(); ++index) {
      if (!named[index]) {
        unnamed.push_back(index);
        removed[index] = true;
        change.removed.push_back(file.entries[index].facts.name);
      }
    }
    const Removal taken = withoutEntries(text, file, unnamed);
    change.edits.insert(change.edits.end(), taken.edits.begin(), taken.edits.end());
  }
  if (!added.empty()) {
    std::vector<EntryValues> entries;
    entries.reserve(added.size());
    std::transform(added.begin(), added.end(), std::back_inserter(entries),
                   [](const EntryValues* admin) { return *admin; });
    change.edits.push_back(entriesAdded(target, entries));
    if (!addedEntriesHold(change.edits.back(), added)) {
      change.failure = layoutRefusal(fileName, added.front()->key);
      return change;
    }
  }
  if (!change.changesFile()) {
    return change;
  }
  change.edits = inTextOrder(text, std::move(change.edits));
  std::deque<EntryFacts> made;
  std::vector<std::size_t> about;
  const std::vector<const EntryFacts*> facts =
      factsAfter(file, changedTo, removed, added, made, about);
  change.warnings = entryWarnings(
      facts.size(), [&facts](std::size_t i) -> const EntryFacts& { return *facts[i]; }, about);
  if (!target.exists) {
    change.edits = {TextEdit{0, 0, withEdits(text, change.edits)}};
  }
  return change;
}

}  // namespace velmora
