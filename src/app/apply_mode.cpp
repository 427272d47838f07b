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
RosterChange applyTo(Target& target, const std::vector<EntryValues>& roster,
                     const ApplyRequest& request, std::ostream& diff, std::ostream& errors) {
  if (target.failure) {
    return failedWith(*target.failure);
  }
  const Result<std::optional<FileLock>> lock =
      target.readUnderLock ? std::optional<FileLock>{}
                           : lockForChange(target.path, target.name, request.how, errors);
  if (lock.failed()) {
    return failedWith(lock.failure());
  }
  if (!request.how.dryRun && !target.readUnderLock) {
    reloadTarget(target);
  }
  if (target.failure) {
    return failedWith(*target.failure);
  }
  RosterChange change =
      rosterChange(target.loaded, target.keys, target.name, roster, request.prune);
  if (change.failure || !change.changesFile()) {
    return change;
  }
  const std::string_view before = target.exists ? std::string_view(target.loaded.bytes) : "";
  const Result<> written =
      changeFile(target.path, target.name, before, change.edits, request.how.dryRun, diff);
  if (written.failed()) {
    change.failure = written.failure();
  }
  return change;
}

Result<std::string> rosterText(std::string_view roster, std::streambuf& input) {
  if (roster == "-") {
    return std::string(std::istreambuf_iterator<char>(&input), {});
  }
  return readFileBytes(pathFromText(roster), roster);
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
  // One file to change is locked before it is read, and so is read once; more files are each
  // locked in turn once the roster is known to be sound.
  const bool lockFirst = !request.how.dryRun && request.files.size() == 1;
  const Result<std::optional<FileLock>> firstLock =
      lockFirst ? lockForChange(pathFromText(request.files.front()), request.files.front(),
                                request.how, errors)
                : std::optional<FileLock>{};
  // The files are read while the roster is: for large ones, each takes about as long.
  std::future<std::vector<Target>> loading =
      std::async(std::launch::async, [&request] { return loadTargets(request.files); });
  const Result<std::string> text = rosterText(request.roster, input);
  if (text.failed()) {
    return reportFailure(errors, text.failure(), ExitStatus::kUsageError);
  }
  const std::string rosterName =
      request.roster == "-" ? "on standard input" : std::string(request.roster);
  Result<std::vector<EntryValues>> given = readRoster(text.value(), rosterName);
  if (given.failed()) {
    return reportFailure(errors, given.failure(), ExitStatus::kUsageError);
  }
  const HeldRoster roster = heldRoster(std::move(given.value()));
  const LetterCaseAsideIndex keys = adminsByKey(roster.values);
  std::vector<Target> targets = loading.get();
  if (std::optional<Failure> problem = rosterProblem(roster.values, keys, targets, rosterName)) {
    return reportFailure(errors, *problem, ExitStatus::kUsageError);
  }
  if (lockFirst) {
    // A file that another program kept changing was still read, for the groups it defines.
    if (firstLock.failed() && !targets.front().failure) {
      targets.front().failure = firstLock.failure();
    }
    targets.front().readUnderLock = !firstLock.failed();
  }
  for (const auto& [i, typed] : roster.typed) {
    for (const std::string& warning : typedTextWarnings(
             "roster admin " + std::to_string(i + 1) + " (" + roster.values[i].key + ")", typed)) {
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
        applyTo(target, roster.values, request, diffInJson ? diffInAnswer : diff, errors);
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
