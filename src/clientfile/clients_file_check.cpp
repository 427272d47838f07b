#include "clientfile/clients_file_check.hpp"

#include <algorithm>
#include <utility>

#include "clientfile/clients_file_reader.hpp"
#include "clientfile/key_values.hpp"
#include "roster/entry_wording.hpp"
#include "text/shown.hpp"
#include "text/utf8.hpp"

namespace velmora {
namespace {

std::string counted(std::size_t count, std::string_view thing) {
  return std::to_string(count) + " " + std::string(thing) + (count == 1 ? "" : "s");
}

// The line a finding about entry points at: the value it is about, or else the entry's name.
std::size_t lineOf(EntryProblem problem, const ClientEntry& entry) {
  switch (problem) {
    case EntryProblem::kMalformedSteamId:
      return entry.steamLine;
    case EntryProblem::kMalformedIpAddress:
      return entry.ipLine;
    case EntryProblem::kEmptyIdentifier:
      return entry.facts.steamId && entry.facts.steamId->empty() ? entry.steamLine : entry.ipLine;
    default:
      return entry.line;
  }
}

void addEntryFindings(const ClientsFile& file, std::vector<FileFinding>& findings) {
  const std::vector<EntryFacts> facts = file.entryFacts();
  const auto label = [&](std::size_t index) { return adminLabel(index, facts[index].name); };
  for (const EntryFinding& finding : checkEntries(facts)) {
    const ClientEntry& entry = file.entries[finding.entry];
    if (finding.problem == EntryProblem::kSameName) {
      for (std::size_t i = 1; i < finding.sameName.size(); ++i) {
        const std::size_t later = finding.sameName[i];
        findings.push_back({file.entries[later].line,
                            label(later) + " has the same name as " + label(finding.entry) +
                                " at line " + std::to_string(entry.line) +
                                ", so the server keeps only one of them"});
      }
    } else if (entry.isBlock) {
      findings.push_back(
          {lineOf(finding.problem, entry),
           label(finding.entry) + ": " + describeEntryProblem(finding.problem, entry.facts)});
    }
  }
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const ClientEntry& entry = file.entries[index];
    if (!entry.isBlock) {
      findings.push_back({entry.line, label(index) +
                                          ": not a client entry: its name must be followed by a "
                                          "block in braces"});
    }
  }
  const std::vector<FileFinding> undefined = undefinedGroups(file);
  findings.insert(findings.end(), undefined.begin(), undefined.end());
}

void addNotUtf8(std::string_view text, std::size_t line, std::vector<FileFinding>& findings) {
  if (!utf8::isText(text)) {
    std::string message = std::string(1, '"').append(shown(text));
    message += "\" is not UTF-8 text, so the server will show it garbled: save the file as UTF-8";
    findings.push_back({line, std::move(message)});
  }
}

// Every key and value, wherever it stands: the server reads them all as UTF-8.
void addEncodingFindings(const std::vector<keyvalues::Node>& nodes,
                         std::vector<FileFinding>& findings) {
  for (const keyvalues::Node& node : nodes) {
    addNotUtf8(node.key, node.line, findings);
    if (node.isBlock) {
      addEncodingFindings(node.children, findings);
    } else {
      addNotUtf8(node.value, node.valueLine, findings);
    }
  }
}

}  // namespace

std::string undefinedGroupMessage(std::size_t index, std::string_view name, std::string_view kind,
                                  std::string_view group) {
  return adminLabel(index, name) + ": \"" + std::string(kind) + "\" group \"" + std::string(group) +
         R"(" is not defined in the file's "groups" section)";
}

std::vector<FileFinding> undefinedGroups(const ClientsFile& file) {
  std::vector<FileFinding> findings;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    for (const GroupUse& use : file.entries[index].groups) {
      if (!file.defines(use.kind, use.group)) {
        findings.push_back({use.line, undefinedGroupMessage(index, file.entries[index].facts.name,
                                                            use.kind, use.group)});
      }
    }
  }
  return findings;
}

CheckReport checkClientsText(std::string_view fileName, std::string_view text) {
  const std::string name(fileName);
  const keyvalues::Document document = keyvalues::parse(text);
  if (document.error) {
    const keyvalues::SyntaxError& error = *document.error;
    return {{name + ":" + std::to_string(error.line) + ": " + error.withColumn(),
             name + ": syntax error, nothing checked"},
            CheckReport::Verdict::kUnparsable};
  }
  const ClientsFile file = readClientsFile(document);
  std::vector<FileFinding> findings;
  if (!file.playersClose) {
    findings.push_back({file.rootLine, "no \"players\" block, so the file sets up no admins"});
  }
  addEntryFindings(file, findings);
  addEncodingFindings(document.nodes, findings);
  std::stable_sort(findings.begin(), findings.end(),
                   [](const FileFinding& a, const FileFinding& b) { return a.line < b.line; });
  CheckReport report;
  for (const FileFinding& finding : findings) {
    report.lines.push_back(name + ":" + std::to_string(finding.line) + ": " + finding.message);
  }
  report.lines.push_back(name + ": " + counted(file.entries.size(), "admin") + ", " +
                         counted(findings.size(), "problem"));
  report.verdict =
      findings.empty() ? CheckReport::Verdict::kSound : CheckReport::Verdict::kProblems;
  return report;
}

}  // namespace velmora
