#include "clientfile/admin_changes.hpp"

#include <vector>

#include "clientfile/entry_edit.hpp"
#include "clientfile/held_values.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/letter_case.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

std::string shownValue(const std::optional<std::string>& value) {
  if (!value) {
    return "-";
  }
  return value->empty() ? "\"\"" : shown(*value);
}

}  // namespace

Result<EntryValues> valuesWith(const ClientsFile& file, std::string_view fileName,
                               std::size_t index, std::span<const FieldSetting> settings,
                               AdminRecord& typed) {
  const ClientEntry& entry = file.entries[index];
  EntryValues wanted = file.valuesOf(index);
  const std::string oldName = entry.realName.value_or(entry.facts.name);
  for (const FieldSetting& setting : settings) {
    // The command line admits only the fields' names.
    const EntryField& field = *entryFieldNamed(setting.field);
    std::optional<std::string>& value = wanted.*field.member;
    value = setting.value;
    if (holdTypedText(wanted, field, typed)) {
      // An entry holds one identifier: the one given takes the other's place.
      if (field.member == &EntryValues::steamId) {
        wanted.ipAddress.reset();
      } else if (field.member == &EntryValues::ipAddress) {
        wanted.steamId.reset();
      }
    } else if (setting.value.empty()) {
      value.reset();
    } else {
      Result<std::string> group = heldGroup(file, fileName, field.groupKind, setting.value);
      if (group.failed()) {
        return group.failure();
      }
      value = std::move(group.value());
    }
  }
  // The key is the admin's name too, where it was.
  if (wanted.name != entry.realName && sameLetterCaseAside(entry.facts.name, oldName)) {
    wanted.key = *wanted.name;
  }
  return wanted;
}

std::string changesBetween(const EntryValues& before, const EntryValues& after) {
  std::vector<std::string> changes;
  // A key that changes with the name, as velmora writes it, is said once, as the name.
  const bool keyIsName = before.name == before.key && after.name == after.key;
  if (before.key != after.key && !keyIsName) {
    changes.push_back("key " + shownValue(before.key) + " -> " + shownValue(after.key));
  }
  for (const EntryField& field : kEntryFields) {
    if (before.*field.member != after.*field.member) {
      changes.push_back(std::string(field.name) + " " + shownValue(before.*field.member) + " -> " +
                        shownValue(after.*field.member));
    }
  }
  std::string said;
  for (const std::string& change : changes) {
    said.append(said.empty() ? "" : ", ").append(change);
  }
  return said;
}

Result<std::size_t> onlyMatch(const ClientsFile& file, std::string_view wanted,
                              std::string_view fileName) {
  const std::vector<std::size_t> matches = file.entriesNamedBy(wanted);
  if (matches.empty()) {
    return noMatchFailure(wanted, fileName);
  }
  if (matches.size() > 1) {
    std::string line =
        "velmora: \"" + shown(wanted) + "\" matches " + std::to_string(matches.size()) + " admins:";
    for (const std::size_t index : matches) {
      line.append(index == matches.front() ? " " : ", ")
          .append(adminLabel(index, file.entries[index].facts.name))
          .append(" at line ")
          .append(std::to_string(file.entries[index].line));
    }
    return Failure{line};
  }
  return matches.front();
}

Result<std::vector<TextEdit>> entryChange(std::string_view text, const ClientsFile& file,
                                          std::string_view fileName, std::size_t index,
                                          const EntryValues& wanted) {
  EntryEdits edits = entryEdits(text, file, layoutOf(text, file), index, wanted);
  if (edits.reshapes && !editedEntryHolds(text, file, index, edits.edits, wanted)) {
    const ClientEntry& entry = file.entries[index];
    return Failure{"velmora: cannot change " + adminLabel(index, entry.facts.name) + " in " +
                   std::string(fileName) + ": line " + std::to_string(entry.line) +
                   ": the entry is laid out in a way velmora cannot change safely"};
  }
  return std::move(edits.edits);
}

std::vector<std::string> changedEntryWarnings(const ClientsFile& file, std::size_t index,
                                              const EntryValues& wanted) {
  std::vector<EntryFacts> facts = file.entryFacts();
  facts[index] = entryFactsOf(wanted);
  return entryWarnings(facts, {&index, 1});
}

std::vector<std::string> addedEntryWarnings(const ClientsFile& file,
                                            std::span<const EntryValues> added) {
  std::vector<EntryFacts> facts = file.entryFacts();
  std::vector<std::size_t> about;
  for (const EntryValues& admin : added) {
    about.push_back(facts.size());
    facts.push_back(entryFactsOf(admin));
  }
  return entryWarnings(facts, about);
}

Failure noMatchFailure(std::string_view wanted, std::string_view fileName) {
  return {"velmora: no admin matches \"" + shown(wanted) + "\" in " + std::string(fileName)};
}

}  // namespace velmora
