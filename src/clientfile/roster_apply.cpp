#include "clientfile/roster_apply.hpp"

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/group_spelling.hpp"
#include "clientfile/groups_edit.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/letter_case_index.hpp"

namespace velmora {
namespace {

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
                          std::string_view fileName, const GivenRoster& roster, bool prune) {
  RosterChange change;
  change.createsFile = !target.exists;
  const ClientsFile& file = target.file;
  const std::string& text = target.bytes;
  const FileLayout layout = layoutOf(text, file);
  const GroupsPlan plan = roster.hasGroups ? planGroups(file, roster.groups, prune) : GroupsPlan{};
  StillUsed stillUsed(plan);
  GroupSpeller speller(file, fileName, roster.groups);
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
  for (std::size_t i = 0; roster.hasAdmins && i < roster.admins.size(); ++i) {
    EntryValues admin = roster.admins[i];
    if (std::optional<Failure> refusal = speller.respell(admin)) {
      change.failure = std::move(refusal);
      return change;
    }
    const std::optional<std::size_t> match = keys.find(admin.key);
    if (!match) {
      stillUsed.check(admin, adminLabel(file.entries.size() + added.size(), admin.key));
      change.added.push_back(admin.key);
      added.push_back(std::move(admin));
      continue;
    }
    const std::size_t index = *match;
    named[index] = true;
    if (file.holds(index, admin)) {
      continue;
    }
    stillUsed.check(admin, adminLabel(index, file.entries[index].facts.name));
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
  if (prune && roster.hasAdmins) {
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
  for (std::size_t index = 0; !plan.removed.empty() && index < file.entries.size(); ++index) {
    if (!removed[index] && !changed[index]) {
      for (const GroupUse& use : file.groupsOf(index)) {
        stillUsed.check(groupKindOf(use.kind), use.group,
                        adminLabel(index, file.entries[index].facts.name));
      }
    }
  }
  if (std::optional<Failure> refusal = stillUsed.refusal(fileName)) {
    change.failure = std::move(refusal);
    return change;
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
  const std::vector<TextEdit> groupChanges = groupEdits(text, file, layout, plan, roster.groups);
  change.edits.insert(change.edits.end(), groupChanges.begin(), groupChanges.end());
  change.groupsAdded = plan.addedNames(roster.groups);
  change.groupsChanged = plan.changedNames();
  change.groupsRemoved = plan.removedNames();
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
