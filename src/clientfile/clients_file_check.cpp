#include "clientfile/clients_file_check.hpp"

#include <algorithm>
#include <utility>

#include "clientfile/clients_file_reader.hpp"
#include "keyvalues/key_values.hpp"
#include "keyvalues/reading_differences.hpp"
#include "roster/entry_wording.hpp"
#include "text/filled.hpp"
#include "text/json_text.hpp"
#include "text/listed.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// The line a finding about entry points at: the value it is about, or else the entry's name.
std::size_t lineOf(EntryProblem problem, const ClientEntry& entry) {
  switch (problem) {
    case EntryProblem::kMalformedSteamId:
    case EntryProblem::kSteamIdInOtherForm:
      return entry.steamLine;
    case EntryProblem::kMalformedIpAddress:
      return entry.ipLine;
    case EntryProblem::kEmptyIdentifier:
      return entry.facts.steamId && entry.facts.steamId->empty() ? entry.steamLine : entry.ipLine;
    default:
      return entry.line;
  }
}

constexpr std::string_view kSameNameLater =
    "%s has the same name as %s at line %s, so the server keeps only one of them";
constexpr std::string_view kSameAccountLater =
    "%s has the same Steam account as %s at line %s, %s, so one person has two entries, perhaps "
    "with different groups";

// One finding at each later entry of a name or an account, naming the first entry.
void addAlikeFindings(const ClientsFile& file, const EntryFinding& finding,
                      std::vector<FileFinding>& findings) {
  const auto label = [&](std::size_t index) {
    return adminLabel(index, file.entries[index].facts.name);
  };
  const ClientEntry& first = file.entries[finding.entry];
  const std::string firstLine = std::to_string(first.line);
  for (std::size_t i = 1; i < finding.alike.size(); ++i) {
    const std::size_t later = finding.alike[i];
    findings.emplace_back(
        file.entries[later].line,
        finding.problem == EntryProblem::kSameName
            ? filled(kSameNameLater, {label(later), label(finding.entry), firstLine})
            : filled(kSameAccountLater, {label(later), label(finding.entry), firstLine,
                                         shown(accountName(*first.facts.steamId))}));
  }
}

void addEntryFindings(const ClientsFile& file, std::vector<FileFinding>& findings) {
  const auto label = [&](std::size_t index) {
    return adminLabel(index, file.entries[index].facts.name);
  };
  const auto factsAt = [&file](std::size_t index) -> const EntryFacts& {
    return file.entries[index].facts;
  };
  for (const EntryFinding& finding : checkEntries(file.entries.size(), factsAt)) {
    const ClientEntry& entry = file.entries[finding.entry];
    if (!finding.alike.empty()) {
      addAlikeFindings(file, finding, findings);
    } else if (entry.isBlock) {
      findings.emplace_back(
          lineOf(finding.problem, entry),
          label(finding.entry) + ": " + describeEntryProblem(finding.problem, entry.facts));
    }
  }
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const ClientEntry& entry = file.entries[index];
    if (!entry.isBlock) {
      findings.emplace_back(entry.line, label(index) +
                                            ": not a client entry: its name must be followed by a "
                                            "block in braces");
    }
  }
  const std::vector<FileFinding> undefined = undefinedGroups(file);
  findings.insert(findings.end(), undefined.begin(), undefined.end());
}

void sortByLine(std::vector<FileFinding>& findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const FileFinding& a, const FileFinding& b) { return a.line < b.line; });
}

std::string plainLineOf(std::string_view fileName, const FileFinding& finding) {
  std::string line =
      std::string(fileName) + ":" + std::to_string(finding.line) + ": " + finding.message;
  return finding.column ? line + " (column " + std::to_string(*finding.column) + ")" : line;
}

std::string jsonOf(std::string_view fileName, std::optional<std::size_t> admins,
                   const std::vector<FileFinding>& findings) {
  Json problems = Json::array();
  for (const FileFinding& finding : findings) {
    Json problem = Json::object();
    problem["line"] = finding.line;
    if (finding.column) {
      problem["column"] = *finding.column;
    }
    problem["message"] = finding.message;
    problems.push_back(std::move(problem));
  }
  Json report = Json::object();
  report["file"] = fileName;
  report["admins"] = admins ? Json(*admins) : Json(nullptr);
  report["problems"] = std::move(problems);
  return jsonText(report);
}

CheckReport reportOf(std::string_view fileName, std::optional<std::size_t> admins,
                     const std::vector<FileFinding>& findings, std::string_view summary,
                     CheckReport::Verdict verdict) {
  CheckReport report;
  for (const FileFinding& finding : findings) {
    report.lines.push_back(plainLineOf(fileName, finding));
  }
  report.lines.push_back(std::string(fileName) + ": " + std::string(summary));
  report.verdict = verdict;
  report.json = jsonOf(fileName, admins, findings);
  return report;
}

}  // namespace

std::string undefinedGroupMessage(std::size_t index, std::string_view name, std::string_view kind,
                                  std::string_view group) {
  return adminLabel(index, name) + ": \"" + shown(kind) + "\" group \"" + shown(group) +
         R"(" is not defined in the file's "groups" section)";
}

std::vector<FileFinding> undefinedGroups(const ClientsFile& file) {
  std::vector<FileFinding> findings;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    for (const GroupUse& use : file.groupsOf(index)) {
      if (!file.defines(use.kind, use.group)) {
        findings.emplace_back(use.line, undefinedGroupMessage(index, file.entries[index].facts.name,
                                                              use.kind, use.group));
      }
    }
  }
  return findings;
}

CheckReport checkClientsText(std::string_view fileName, std::string_view text) {
  std::vector<FileFinding> findings;
  ClientsFile file;
  {
    FindingsByBlock readApart;
    ParsedClientsFile parsed =
        parseClientsFile(text, EntryPlaces::kSkipped,
                         [&readApart](const keyvalues::Node& node, const keyvalues::Node& parent) {
                           addReadingDifferences(node, readApart[parent.openOffset]);
                         });
    findings = readingDifferences(parsed.document.nodes, readApart);
    sortByLine(findings);
    if (parsed.document.error) {
      const keyvalues::SyntaxError& error = *parsed.document.error;
      findings.emplace_back(error.line, error.message, error.column);
      return reportOf(fileName, std::nullopt, findings, "syntax error, nothing checked",
                      CheckReport::Verdict::kUnparsable);
    }
    file = std::move(parsed.file);
  }
  if (!file.playersClose) {
    findings.emplace_back(file.rootLine, "no \"players\" block, so the file sets up no admins");
  }
  addEntryFindings(file, findings);
  sortByLine(findings);
  const std::string summary =
      counted(file.entries.size(), "admin") + ", " + counted(findings.size(), "problem");
  const CheckReport::Verdict verdict =
      findings.empty() ? CheckReport::Verdict::kSound : CheckReport::Verdict::kProblems;
  return reportOf(fileName, file.entries.size(), findings, summary, verdict);
}

}  // namespace velmora
