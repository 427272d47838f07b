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
RosterChange applyTo(Target& target, const PackedRoster& roster, const ApplyRequest& request,
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

// The roster's admins, held as they are read from standard input ("-") or the file.
Result<> readGivenRoster(std::string_view roster, std::streambuf& input,
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

// What was done to a file; in a dry run, what would be done, so that a preview is never taken
// for a change.
std::string outcomeLine(const std::string& file, const RosterChange& change, bool dryRun) {
  if (!change.changesFile()) {
    return file + ": unchanged";
  }
  return file + ": " +
         filled(dryRun ? "would add %s, change %s, remove %s" : "%s added, %s changed, %s removed",
                {std::to_string(change.added.size()), std::to_string(change.changed.size()),
                 std::to_string(change.removed.size())});
}

Json outcomeJson(const std::string& file, const RosterChange& change) {
  Json json = Json::object();
  json["file"] = file;
  json["changed"] = !change.failure && change.changesFile();
  // A file that failed is as it was: nothing was added, changed or removed there.
  const RosterChange& done = change.failure ? RosterChange{} : change;
  json["added"] = done.added;
  json["changed_admins"] = done.changed;
  json["removed"] = done.removed;
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
  if (const Result<> read = readGivenRoster(request.roster, input, rosterName, roster);
      read.failed()) {
    return reportFailure(errors, read.failure(), ExitStatus::kUsageError);
  }
  std::vector<Target> targets = loading.get();
  if (std::optional<Failure> problem = rosterProblem(roster.admins, targets, rosterName)) {
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
        applyTo(target, roster.admins, request, diffInJson ? diffInAnswer : diff, errors);
    for (std::string warning : change.warnings) {
      reportLine(errors, warning.insert(kWarningPrefix.size(), target.name + ": "));
    }
    if (change.failure) {
      status = reportFailure(errors, *change.failure, ExitStatus::kNotDone);
    } else if (request.form == AnswerForm::kLines) {
      output << outcomeLine(target.name, change, request.how.dryRun) << '\n' << std::flush;
    }
    if (request.form == AnswerForm::kJson) {
      files.push_back(outcomeJson(target.name, change));
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
