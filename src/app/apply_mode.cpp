#include "app/apply_mode.hpp"

#include <algorithm>
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
RosterChange applyTo(Target& target, std::span<const EntryValues> roster,
                     const ApplyRequest& request, std::ostream& diff, std::ostream& errors) {
  const Result<std::optional<FileLock>> lock =
      lockForChange(target.path, target.name, request.how, errors);
  if (lock.failed()) {
    return failedWith(lock.failure());
  }
  if (!request.how.dryRun) {
    reloadTarget(target);
  }
  if (target.failure) {
    return failedWith(*target.failure);
  }
  RosterChange change = rosterChange(target.loaded, target.name, roster, request.prune);
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
  const std::vector<RosterAdmin> roster = heldRoster(given.value());
  std::vector<Target> targets;
  std::transform(request.files.begin(), request.files.end(), std::back_inserter(targets),
                 loadTarget);
  if (std::optional<Failure> problem = rosterProblem(roster, targets, rosterName)) {
    return reportFailure(errors, *problem, ExitStatus::kUsageError);
  }
  std::vector<EntryValues> wanted;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    wanted.push_back(roster[i].values);
    for (const std::string& warning : typedTextWarnings(
             "roster admin " + std::to_string(i + 1) + " (" + roster[i].values.key + ")",
             roster[i].typed)) {
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
        applyTo(target, wanted, request, diffInJson ? diffInAnswer : diff, errors);
    for (std::string warning : change.warnings) {
      reportLine(errors, warning.insert(kWarningPrefix.size(), target.name + ": "));
    }
    if (change.failure) {
      status = reportFailure(errors, *change.failure, ExitStatus::kNotDone);
    } else if (request.form == AnswerForm::kLines) {
      output << outcomeLine(target.name, change, request.how.dryRun) << '\n' << std::flush;
    }
    files.push_back(outcomeJson(target.name, change));
    if (diffInJson) {
      files.back()["diff"] = std::move(diffInAnswer).str();
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
