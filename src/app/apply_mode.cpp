#include "app/apply_mode.hpp"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/entry_edit.hpp"
#include "clientfile/file_bytes.hpp"
#include "clientfile/held_values.hpp"
#include "clientfile/key_values.hpp"
#include "clientfile/roster_file.hpp"
#include "roster/entry_wording.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/roster_warnings.hpp"
#include "text/json_text.hpp"
#include "text/letter_case.hpp"
#include "text/path_text.hpp"

namespace velmora {
namespace {

// A roster admin with its texts held as a value is held; typed keeps them as given, for the
// warnings.
struct RosterAdmin {
  EntryValues values;
  AdminRecord typed;
};

std::vector<RosterAdmin> held(const std::vector<EntryValues>& given) {
  std::vector<RosterAdmin> admins(given.size());
  for (std::size_t i = 0; i < given.size(); ++i) {
    RosterAdmin& admin = admins[i];
    admin.values = given[i];
    TextField key;
    admin.values.key = heldText(given[i].key, key);
    for (const EntryField& field : kEntryFields) {
      holdTypedText(admin.values, field, admin.typed);
    }
  }
  return admins;
}

// The index of each entry by its key, letter case aside, as the server finds entries; the
// first of entries with one key.
std::unordered_map<std::string, std::size_t> entriesByKey(const ClientsFile& file) {
  std::unordered_map<std::string, std::size_t> entries;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    entries.emplace(foldedCase(file.entries[index].facts.name), index);
  }
  return entries;
}

// A file as it is before the roster is applied; a file that does not exist is the empty file
// velmora would write.
struct Target {
  std::string name;
  std::filesystem::path path;
  std::optional<Failure> failure;
  bool exists = false;
  LoadedClientsFile loaded;
};

Target loadTarget(const std::string& name) {
  Target target{name, pathFromText(name), std::nullopt, false, {}};
  Result<LoadedClientsFile> loaded =
      loadClientsFile(target.path, name, "apply the roster to", MissingFile::kAllowed);
  if (loaded.failed()) {
    target.failure = loaded.failure();
    return target;
  }
  target.exists = loaded.value().exists;
  target.loaded = std::move(loaded.value());
  if (!target.exists) {
    target.loaded.bytes = clientsText(std::span<const EntryValues>{});
    target.loaded.file = parseClientsFile(target.loaded.bytes).file;
  }
  const ClientsFile& file = target.loaded.file;
  const std::string cannot = "velmora: cannot apply the roster to " + name + ": line ";
  if (!file.playersClose) {
    target.failure = Failure{cannot + std::to_string(file.rootLine) + ": no \"players\" block"};
    return target;
  }
  const std::unordered_map<std::string, std::size_t> keys = entriesByKey(file);
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const ClientEntry& entry = file.entries[index];
    const std::size_t first = keys.at(foldedCase(entry.facts.name));
    if (first != index) {
      const ClientEntry& earlier = file.entries[first];
      target.failure =
          Failure{cannot + std::to_string(entry.line) + ": " + adminLabel(index, entry.facts.name) +
                  " has the same key as " + adminLabel(first, earlier.facts.name) + " at line " +
                  std::to_string(earlier.line) + ", so the roster cannot say which it means"};
      return target;
    }
  }
  return target;
}

// What applying the roster did to one file.
struct Outcome {
  std::vector<std::string> added;
  std::vector<std::string> changed;
  std::vector<std::string> removed;
  std::optional<Failure> failure;
  std::vector<std::string> warnings;

  [[nodiscard]] bool changesFile() const {
    return !added.empty() || !changed.empty() || !removed.empty();
  }
};

// The roster as the target holds it, its groups as the target spells them.
Result<std::vector<EntryValues>> asHeldBy(const Target& target,
                                          const std::vector<RosterAdmin>& roster) {
  std::vector<EntryValues> wanted;
  for (const RosterAdmin& admin : roster) {
    EntryValues values = admin.values;
    for (const EntryField& field : kEntryFields) {
      std::optional<std::string>& group = values.*field.member;
      if (!field.groupKind.empty() && group) {
        Result<std::string> spelled =
            heldGroup(target.loaded.file, target.name, field.groupKind, *group);
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

class FileApplier {
 public:
  FileApplier(const Target& target, const ApplyRequest& request, std::ostream& diff)
      : target_(target), request_(request), diff_(diff) {}

  Outcome apply(const std::vector<RosterAdmin>& roster) {
    Outcome outcome;
    const Result<std::vector<EntryValues>> wanted = asHeldBy(target_, roster);
    if (wanted.failed()) {
      outcome.failure = wanted.failure();
      return outcome;
    }
    const std::string& text = target_.loaded.bytes;
    const ClientsFile& file = target_.loaded.file;
    const std::unordered_map<std::string, std::size_t> entryOfKey = entriesByKey(file);
    std::vector<TextEdit> edits;
    std::vector<bool> named(file.entries.size());
    std::vector<EntryValues> added;
    for (const EntryValues& admin : wanted.value()) {
      const auto match = entryOfKey.find(foldedCase(admin.key));
      if (match == entryOfKey.end()) {
        added.push_back(admin);
        outcome.added.push_back(admin.key);
        continue;
      }
      named[match->second] = true;
      if (file.valuesOf(match->second) != admin) {
        const std::vector<TextEdit> changed = entryEdits(text, file, match->second, admin);
        edits.insert(edits.end(), changed.begin(), changed.end());
        outcome.changed.push_back(admin.key);
      }
    }
    if (request_.prune) {
      std::vector<std::size_t> unnamed;
      for (std::size_t index = 0; index < file.entries.size(); ++index) {
        if (!named[index]) {
          unnamed.push_back(index);
          outcome.removed.push_back(file.entries[index].facts.name);
        }
      }
      const Removal removal = withoutEntries(text, file, unnamed);
      edits.insert(edits.end(), removal.edits.begin(), removal.edits.end());
    }
    if (!added.empty()) {
      edits.push_back(entriesAdded(target_.loaded, added));
    }
    if (!outcome.changesFile() && target_.exists) {
      return outcome;
    }
    edits = inTextOrder(text, std::move(edits));
    finish(outcome, wanted.value(), edits);
    return outcome;
  }

 private:
  // Checks the edited text against the roster, then writes it, or shows it.
  void finish(Outcome& outcome, const std::vector<EntryValues>& wanted,
              const std::vector<TextEdit>& edits) {
    const std::string& text = target_.loaded.bytes;
    const std::string edited = withEdits(text, edits);
    const ParsedClientsFile parsed = parseClientsFile(edited, EntryPlaces::kSkipped);
    const ClientsFile& after = parsed.file;
    const std::unordered_map<std::string, std::size_t> entryOfKey = entriesByKey(after);
    std::vector<std::size_t> touched;
    for (const EntryValues& admin : wanted) {
      const auto match = entryOfKey.find(foldedCase(admin.key));
      if (parsed.document.error || match == entryOfKey.end() ||
          after.valuesOf(match->second) != admin) {
        outcome.failure =
            Failure{"velmora: cannot apply the roster to " + target_.name + ": the entry of \"" +
                    admin.key + "\" is laid out in a way velmora cannot change safely"};
        return;
      }
      const bool isChanged =
          std::find(outcome.changed.begin(), outcome.changed.end(), admin.key) !=
              outcome.changed.end() ||
          std::find(outcome.added.begin(), outcome.added.end(), admin.key) != outcome.added.end();
      if (isChanged) {
        touched.push_back(match->second);
      }
    }
    outcome.warnings = entryWarnings(after.entryFacts(), touched);
    const TextEdit whole{0, 0, edited};
    const Result<> written =
        target_.exists
            ? changeFile(target_.path, target_.name, text, edits, request_.dryRun, diff_)
            : changeFile(target_.path, target_.name, "", {&whole, 1}, request_.dryRun, diff_);
    if (written.failed()) {
      outcome.failure = written.failure();
    }
  }

  const Target& target_;
  const ApplyRequest& request_;
  std::ostream& diff_;
};

// The first roster problem no file can mend: two admins with one key, or a group that no file
// defines for its kind.
std::optional<Failure> rosterProblem(const std::vector<RosterAdmin>& roster,
                                     const std::vector<Target>& targets,
                                     std::string_view rosterName) {
  const std::string cannot = "velmora: cannot use the roster " + std::string(rosterName) + ": ";
  std::unordered_map<std::string, std::size_t> keys;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    const EntryValues& admin = roster[i].values;
    const auto [first, isNew] = keys.emplace(foldedCase(admin.key), i);
    if (!isNew) {
      return Failure{cannot + "admin " + std::to_string(i + 1) + " has the same key as admin " +
                     std::to_string(first->second + 1) + ", \"" + admin.key + "\""};
    }
    for (const EntryField& field : kEntryFields) {
      const std::optional<std::string>& group = admin.*field.member;
      if (!field.groupKind.empty() && group &&
          std::none_of(targets.begin(), targets.end(), [&](const Target& target) {
            return !target.failure &&
                   target.loaded.file.defines(field.groupKind, fileValue(*group));
          })) {
        return Failure{cannot + "admin " + std::to_string(i + 1) + " (" + admin.key + "): \"" +
                       std::string(field.groupKind) + "\" group \"" + *group +
                       "\" is defined in none of the files"};
      }
    }
  }
  return std::nullopt;
}

Result<std::string> rosterText(std::string_view roster, std::streambuf& input) {
  if (roster == "-") {
    return std::string(std::istreambuf_iterator<char>(&input), {});
  }
  return readFileBytes(pathFromText(roster), roster);
}

std::string outcomeLine(const std::string& file, const Outcome& outcome) {
  if (!outcome.changesFile()) {
    return file + ": unchanged";
  }
  return file + ": " + std::to_string(outcome.added.size()) + " added, " +
         std::to_string(outcome.changed.size()) + " changed, " +
         std::to_string(outcome.removed.size()) + " removed";
}

}  // namespace

ExitStatus applyRoster(const ApplyRequest& request, std::streambuf& input, std::ostream& output,
                       std::ostream& diff, std::ostream& errors) {
  const Result<std::string> text = rosterText(request.roster, input);
  if (text.failed()) {
    return reportFailure(errors, text.failure(), ExitStatus::kUsageError);
  }
  const std::string rosterName =
      request.roster == "-" ? "on standard input" : std::string(request.roster);
  const Result<std::vector<EntryValues>> given = readRoster(text.value(), rosterName);
  if (given.failed()) {
    return reportFailure(errors, given.failure(), ExitStatus::kUsageError);
  }
  const std::vector<RosterAdmin> roster = held(given.value());
  std::vector<Target> targets;
  std::transform(request.files.begin(), request.files.end(), std::back_inserter(targets),
                 loadTarget);
  if (std::optional<Failure> problem = rosterProblem(roster, targets, rosterName)) {
    return reportFailure(errors, *problem, ExitStatus::kUsageError);
  }
  for (std::size_t i = 0; i < roster.size(); ++i) {
    for (const std::string& warning : typedTextWarnings(
             "roster admin " + std::to_string(i + 1) + " (" + roster[i].values.key + ")",
             roster[i].typed)) {
      reportLine(errors, warning);
    }
  }
  ExitStatus status = ExitStatus::kDone;
  Json files = Json::array();
  for (const Target& target : targets) {
    const Outcome outcome = target.failure ? Outcome{{}, {}, {}, target.failure, {}}
                                           : FileApplier(target, request, diff).apply(roster);
    for (std::string warning : outcome.warnings) {
      reportLine(errors, warning.insert(kWarningPrefix.size(), target.name + ": "));
    }
    if (outcome.failure) {
      status = reportFailure(errors, *outcome.failure, ExitStatus::kNotDone);
    } else if (request.form == AnswerForm::kLines) {
      output << outcomeLine(target.name, outcome) << '\n' << std::flush;
    }
    Json file = Json::object();
    file["file"] = target.name;
    file["changed"] = !outcome.failure && outcome.changesFile();
    // A file that failed is as it was: nothing was added, changed or removed there.
    const Outcome& done = outcome.failure ? Outcome{} : outcome;
    file["added"] = done.added;
    file["changed_admins"] = done.changed;
    file["removed"] = done.removed;
    file["error"] = outcome.failure ? Json(outcome.failure->line) : Json(nullptr);
    files.push_back(std::move(file));
  }
  if (request.form == AnswerForm::kJson) {
    Json report = Json::object();
    report["files"] = std::move(files);
    output << jsonText(report) << '\n' << std::flush;
  }
  return status;
}

}  // namespace velmora
