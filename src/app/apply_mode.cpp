#include "app/apply_mode.hpp"

#include <future>
#include <iterator>
#include <sstream>
#include <vector>

#include "app/apply_targets.hpp"
#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "clientfile/roster_apply.hpp"
#include "clientfile/roster_file.hpp"
#include "platform/file_bytes.hpp"
#include "roster/roster_warnings.hpp"
#include "text/filled.hpp"
#include "text/json_text.hpp"
#include "text/path_text.hpp"

namespace velmora {
namespace {

RosterChange failedWith(const Failure& failure) {
  RosterChange failed;
  failed.failure = failure;
  return failed;
}

// Makes target hold the roster: writes the change under the file's lock, or shows it.
RosterChange applyTo(Target& target, const GivenRoster& roster, const ApplyRequest& request,
                     std::ostream& diff, std::ostream& errors) {
  if (target.failure) {
    return failedWith(*target.failure);
  }
  const Result<FileForChange> held = lockForChange(target.path, target.name, request.how, errors);
  if (held.failed()) {
    return failedWith(held.failure());
  }
  if (!request.how.dryRun) {
    reloadTarget(target, held.value().path);
  }
  if (target.failure) {
    return failedWith(*target.failure);
  }
  RosterChange change =
      rosterChange(target.loaded, target.keys, target.name, roster, request.prune);
  // What was read of the file besides its bytes is of no more use, and a large file's takes
  // room the write needs.
  target.keys = {};
  target.loaded.file = {};
  if (change.failure || !change.changesFile()) {
    return change;
  }
  const std::string_view before = target.exists ? std::string_view(target.loaded.bytes) : "";
  const Result<> written =
      changeFile(held.value().path, target.name, before, change.edits, request.how.dryRun, diff);
  if (written.failed()) {
    change.failure = written.failure();
  }
  return change;
}

// The roster, its admins held as they are read from standard input ("-") or the file.
Result<RosterParts> readGivenRoster(std::string_view roster, std::streambuf& input,
                                    std::string_view rosterName, HeldRoster& held) {
  const TakeAdmin hold = [&held](EntryValues&& admin) { held.hold(std::move(admin)); };
  if (roster == "-") {
    std::istream text(&input);
    return readRoster(text, rosterName, hold);
  }
  Result<std::ifstream> text = openForReading(pathFromText(roster), roster);
  if (text.failed()) {
    return text.failure();
  }
  return readRoster(text.value(), rosterName, hold);
}

// How many were added, changed and removed; in a dry run, how many would be, so that a preview
// is never taken for a change.
std::string countedChanges(std::size_t added, std::size_t changed, std::size_t removed,
                           bool dryRun) {
  return filled(dryRun ? "would add %s, change %s, remove %s" : "%s added, %s changed, %s removed",
                {std::to_string(added), std::to_string(changed), std::to_string(removed)});
}

// What was done to a file: to its admins, and to its groups when the roster has any.
std::string outcomeLine(const std::string& file, const RosterChange& change, bool withGroups,
                        bool dryRun) {
  if (!change.changesFile()) {
    return file + ": unchanged";
  }
  std::string line =
      file + ": " +
      countedChanges(change.added.size(), change.changed.size(), change.removed.size(), dryRun);
  if (withGroups) {
    line += "; groups: " + countedChanges(change.groupsAdded.size(), change.groupsChanged.size(),
                                          change.groupsRemoved.size(), dryRun);
  }
  return line;
}

Json groupsJson(const std::vector<GroupNamed>& groups) {
  Json json = Json::array();
  for (const GroupNamed& group : groups) {
    Json named = Json::object();
    named["kind"] = group.kind;
    named["name"] = group.name;
    json.push_back(std::move(named));
  }
  return json;
}

Json outcomeJson(const std::string& file, const RosterChange& change, bool withGroups) {
  Json json = Json::object();
  json["file"] = file;
  json["changed"] = !change.failure && change.changesFile();
  // A file that failed is as it was: nothing was added, changed or removed there.
  const RosterChange& done = change.failure ? RosterChange{} : change;
  json["added"] = done.added;
  json["changed_admins"] = done.changed;
  json["removed"] = done.removed;
  if (withGroups) {
    json["groups_added"] = groupsJson(done.groupsAdded);
    json["groups_changed"] = groupsJson(done.groupsChanged);
    json["groups_removed"] = groupsJson(done.groupsRemoved);
  }
  json["error"] = change.failure ? Json(change.failure->line) : Json(nullptr);
  return json;
}

}  // namespace

ExitStatus applyRoster(const ApplyRequest& request, std::streambuf& input, std::ostream& output,
                       std::ostream& diff, std::ostream& errors) {
  // The files are read while the roster is: for large ones, each takes about as long. Each is
  // locked in turn only once the roster is known to be sound, and read again under its lock
  // if it changed meanwhile, so that a roster that is slow to come or is refused holds up no
  // one.
  std::future<std::vector<Target>> loading =
      std::async(std::launch::async, [&request] { return loadTargets(request.files); });
  const std::string rosterName =
      request.roster == "-" ? "on standard input" : std::string(request.roster);
  HeldRoster roster;
  const Result<RosterParts> parts = readGivenRoster(request.roster, input, rosterName, roster);
  if (parts.failed()) {
    return reportFailure(errors, parts.failure(), ExitStatus::kUsageError);
  }
  const GivenRoster given{roster.admins, parts.value().hasAdmins, parts.value().groups,
                          parts.value().hasGroups};
  std::vector<Target> targets = loading.get();
  if (std::optional<Failure> problem = rosterProblem(given, targets, rosterName)) {
    return reportFailure(errors, *problem, ExitStatus::kUsageError);
  }
  for (const auto& [i, typed] : roster.typed) {
    for (const std::string& warning :
         typedTextWarnings("roster admin " + std::to_string(i + 1) + " (" +
                               std::string(roster.admins.key(i)) + ")",
                           typed)) {
      reportLine(errors, warning);
    }
  }
  ExitStatus status = ExitStatus::kDone;
  Json files = Json::array();
  // In JSON, a dry run's diffs go inside the answer, so that standard output is JSON alone.
  const bool diffInJson = request.how.dryRun && request.form == AnswerForm::kJson;
  for (Target& target : targets) {
    std::ostringstream diffInAnswer;
    const RosterChange change =
        applyTo(target, given, request, diffInJson ? diffInAnswer : diff, errors);
    for (std::string warning : change.warnings) {
      reportLine(errors, warning.insert(kWarningPrefix.size(), target.name + ": "));
    }
    if (change.failure) {
      status = reportFailure(errors, *change.failure, ExitStatus::kNotDone);
    } else if (request.form == AnswerForm::kLines) {
      output << outcomeLine(target.name, change, given.hasGroups, request.how.dryRun) << '\n'
             << std::flush;
    }
    if (request.form == AnswerForm::kJson) {
      files.push_back(outcomeJson(target.name, change, given.hasGroups));
      if (diffInJson) {
        files.back()["diff"] = std::move(diffInAnswer).str();
      }
    }
  }
  if (request.form == AnswerForm::kJson) {
    Json report = Json::object();
    report["files"] = std::move(files);
    if (request.how.dryRun) {
      report["dry_run"] = true;
    }
    output << jsonText(report) << '\n' << std::flush;
  }
  return status;
}

}  // namespace velmora
