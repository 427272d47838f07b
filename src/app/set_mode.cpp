#include "app/set_mode.hpp"

#include <string>
#include <vector>

#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "app/remove_mode.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/held_values.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/letter_case.hpp"
#include "text/path_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// The entry's values with the fields set; typed keeps the texts as typed, for the warnings.
Result<EntryValues> withFields(const ClientsFile& file, std::string_view fileName,
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

std::string shownValue(const std::optional<std::string>& value) {
  if (!value) {
    return "-";
  }
  return value->empty() ? "\"\"" : shown(*value);
}

// "admin Clanmember -> Serveradmin, immunity - -> NoFun".
std::string changesOf(const EntryValues& before, const EntryValues& after) {
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

// The one entry wanted names, or why there is not one.
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

}  // namespace

ExitStatus setAdmin(std::string_view wanted, std::span<const FieldSetting> fields,
                    const std::filesystem::path& file, const ChangeOptions& how,
                    std::ostream& output, std::ostream& diff, std::ostream& errors) {
  // What can be refused without the file is, before the file is waited for.
  for (const FieldSetting& setting : fields) {
    if (std::optional<Failure> refused = valueRefusal(setting.field, setting.value)) {
      return reportFailure(errors, *refused, ExitStatus::kUsageError);
    }
  }
  const std::string name = textOfPath(file);
  const Result<FileForChange> held = lockForChange(file, name, how, errors);
  if (held.failed()) {
    return reportFailure(errors, held.failure(), ExitStatus::kNotDone);
  }
  const std::filesystem::path& changing = held.value().path;
  const Result<LoadedClientsFile> loaded =
      loadClientsFile(changing, name, "change", MissingFile::kRefused);
  if (loaded.failed()) {
    return reportFailure(errors, loaded.failure(), ExitStatus::kNotDone);
  }
  const std::string& text = loaded.value().bytes;
  const ClientsFile& clients = loaded.value().file;
  const Result<std::size_t> match = onlyMatch(clients, wanted, name);
  if (match.failed()) {
    return reportFailure(errors, match.failure(), ExitStatus::kNotDone);
  }
  const std::size_t index = match.value();
  const ClientEntry& entry = clients.entries[index];
  AdminRecord typed;
  const Result<EntryValues> changed = withFields(clients, name, index, fields, typed);
  if (changed.failed()) {
    return reportFailure(errors, changed.failure(), ExitStatus::kUsageError);
  }
  const std::string label = adminLabel(index, entry.facts.name);
  const EntryValues before = clients.valuesOf(index);
  std::vector<std::string> warnings = typedTextWarnings(label, typed);
  if (changed.value() == before) {
    output << label << " in " << name << " is unchanged\n" << std::flush;
  } else {
    const EntryEdits edits =
        entryEdits(text, clients, layoutOf(text, clients), index, changed.value());
    if (edits.reshapes && !editedEntryHolds(text, clients, index, edits.edits, changed.value())) {
      return reportFailure(errors,
                           {"velmora: cannot change " + label + " in " + name + ": line " +
                            std::to_string(entry.line) +
                            ": the entry is laid out in a way velmora cannot change safely"},
                           ExitStatus::kNotDone);
    }
    if (const Result<> written = changeFile(changing, name, text, edits.edits, how.dryRun, diff);
        written.failed()) {
      return reportFailure(errors, written.failure(), ExitStatus::kNotDone);
    }
    // A dry run says what would happen, so that a preview is never taken for a change.
    output << (how.dryRun ? "would change " : "changed ") << label << " in " << name << ": "
           << changesOf(before, changed.value()) << '\n'
           << std::flush;
    std::vector<EntryFacts> facts = clients.entryFacts();
    facts[index] = entryFactsOf(changed.value());
    const std::vector<std::string> found = entryWarnings(facts, {&index, 1});
    warnings.insert(warnings.end(), found.begin(), found.end());
  }
  for (const std::string& warning : warnings) {
    reportLine(errors, warning);
  }
  return ExitStatus::kDone;
}

}  // namespace velmora
