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

// The roster's groups as a file spells them, each looked up once: groups repeat from admin to
// admin, and most rosters spell them as the file does.
class GroupSpeller {
 public:
  GroupSpeller(const ClientsFile& file, std::string_view fileName)
      : file_(file), fileName_(fileName) {}

  // admin's groups as the file spells them, or the refusal of one it does not define.
  std::optional<Failure> respell(EntryValues& admin) {
    for (const EntryField& field : kEntryFields) {
      std::optional<std::string>& group = admin.*field.member;
      if (field.groupKind.empty() || !group) {
        continue;
      }
      const std::pair kindAndGroup(field.groupKind, *group);
      if (std::find(asDefined_.begin(), asDefined_.end(), kindAndGroup) != asDefined_.end()) {
        continue;
      }
      if (spelledAsDefined(field.groupKind, *group)) {
        asDefined_.push_back(kindAndGroup);
        continue;
      }
      Result<std::string> spelling = heldGroup(file_, fileName_, field.groupKind, *group);
      if (spelling.failed()) {
        return spelling.failure();
      }
      group = std::move(spelling.value());
    }
    return std::nullopt;
  }

 private:
  // Whether the file defines group under kind spelled as it is.
  bool spelledAsDefined(std::string_view kind, std::string_view group) const {
    const GroupUse* defined = file_.definition(kind, group);
    return defined != nullptr && defined->group == group &&
           group.find_first_of("\"\\") == std::string_view::npos;
  }

  const ClientsFile& file_;
  std::string_view fileName_;
  std::vector<std::pair<std::string_view, std::string>> asDefined_;
};

Failure layoutRefusal(std::string_view fileName, std::string_view key) {
  return {"velmora: cannot apply the roster to " + std::string(fileName) + ": the entry of \"" +
          std::string(key) + "\" is laid out in a way velmora cannot change safely"};
}

// Whether the entries insertion adds read as the admins added, before anything is written.
bool addedEntriesHold(const TextEdit& insertion, std::span<const EntryValues> added) {
  const std::optional<ClientsFile> entries = parseEntries(insertion.replacement);
  if (!entries || entries->entries.size() != added.size()) {
    return false;
  }
  for (std::size_t i = 0; i < added.size(); ++i) {
    if (!entries->holds(i, added[i])) {
      return false;
    }
  }
  return true;
}

// What the rules see of the entries once the file is changed: the file's own facts of each
// entry, but for the changed ones whose facts change (changedFacts), without those removed,
// and the added ones last. about is where the changed and added stand among them.
std::vector<const EntryFacts*> factsAfter(const ClientsFile& file, const std::vector<bool>& changed,
                                          const std::vector<const EntryFacts*>& changedFacts,
                                          const std::vector<bool>& removed,
                                          const std::deque<EntryFacts>& addedFacts,
                                          std::vector<std::size_t>& about) {
  std::vector<const EntryFacts*> facts;
  facts.reserve(file.entries.size() + addedFacts.size());
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    if (removed[index]) {
      continue;
    }
    if (changed[index]) {
      about.push_back(facts.size());
    }
    facts.push_back(changedFacts[index] != nullptr ? changedFacts[index]
                                                   : &file.entries[index].facts);
  }
  for (const EntryFacts& added : addedFacts) {
    about.push_back(facts.size());
    facts.push_back(&added);
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
                          std::string_view fileName, const PackedRoster& roster, bool prune) {
  RosterChange change;
  change.createsFile = !target.exists;
  const ClientsFile& file = target.file;
  const std::string& text = target.bytes;
  const FileLayout layout = layoutOf(text, file);
  GroupSpeller speller(file, fileName);
  std::vector<bool> named(file.entries.size());
  std::vector<bool> changed(file.entries.size());
  // The facts of the changed entries whose facts change, and the admins of the entries an edit
  // reshapes, which are read again: only these are kept whole, not every admin of the roster.
  std::vector<const EntryFacts*> changedFacts(file.entries.size());
  std::deque<EntryFacts> madeFacts;
  std::deque<EntryValues> reshapedTo;
  std::vector<EntryChange> reshaped;
  std::vector<std::pair<std::size_t, std::size_t>> reshapedEdits;  // first edit, count
  std::vector<EntryValues> added;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    EntryValues admin = roster[i];
    if (std::optional<Failure> refusal = speller.respell(admin)) {
      change.failure = std::move(refusal);
      return change;
    }
    const std::optional<std::size_t> match = keys.find(admin.key);
    if (!match) {
      change.added.push_back(admin.key);
      added.push_back(std::move(admin));
      continue;
    }
    const std::size_t index = *match;
    named[index] = true;
    if (file.holds(index, admin)) {
      continue;
    }
    EntryEdits edits = entryEdits(text, file, layout, index, admin);
    if (edits.reshapes) {
      reshapedEdits.emplace_back(change.edits.size(), edits.edits.size());
      reshaped.push_back({index, {}, &reshapedTo.emplace_back(admin)});
    }
    std::move(edits.edits.begin(), edits.edits.end(), std::back_inserter(change.edits));
    change.changed.push_back(admin.key);
    changed[index] = true;
    // Most changes keep what the rules look at, such as a change of group: those need no copy.
    if (EntryFacts facts = entryFactsOf(admin); facts != file.entries[index].facts) {
      changedFacts[index] = &madeFacts.emplace_back(std::move(facts));
    }
  }
  for (std::size_t k = 0; k < reshaped.size(); ++k) {
    reshaped[k].edits =
        std::span(change.edits).subspan(reshapedEdits[k].first, reshapedEdits[k].second);
  }
  if (const std::optional<std::size_t> notHolding = firstChangeNotHolding(text, file, reshaped)) {
    change.failure = layoutRefusal(fileName, reshaped[*notHolding].wanted->key);
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
  std::deque<EntryFacts> addedFacts;
  if (!added.empty()) {
    change.edits.push_back(entriesAdded(target, added));
    if (!addedEntriesHold(change.edits.back(), added)) {
      change.failure = layoutRefusal(fileName, added.front().key);
      return change;
    }
    std::transform(added.begin(), added.end(), std::back_inserter(addedFacts),
                   [](const EntryValues& admin) { return entryFactsOf(admin); });
  }
  if (!change.changesFile()) {
    return change;
  }
  change.edits = inTextOrder(text, std::move(change.edits));
  std::vector<std::size_t> about;
  const std::vector<const EntryFacts*> facts =
      factsAfter(file, changed, changedFacts, removed, addedFacts, about);
  change.warnings = entryWarnings(
      facts.size(), [&facts](std::size_t i) -> const EntryFacts& { return *facts[i]; }, about);
  if (!target.exists) {
    change.edits = {TextEdit{0, 0, withEdits(text, change.edits)}};
  }
  return change;
}

}  // namespace velmora
