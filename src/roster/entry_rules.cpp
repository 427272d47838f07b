#include "roster/entry_rules.hpp"

#include <algorithm>
#include <unordered_map>

#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "text/character_classes.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

bool hasEmptyIdentifier(const EntryFacts& entry) {
  return (entry.steamId && entry.steamId->empty()) || (entry.ipAddress && entry.ipAddress->empty());
}

struct EntryRule {
  EntryProblem problem;
  bool (*applies)(const EntryFacts&);
};

constexpr EntryRule kEntryRules[] = {
    {EntryProblem::kNoIdentifier, [](const EntryFacts& e) { return !e.steamId && !e.ipAddress; }},
    {EntryProblem::kEmptyIdentifier, hasEmptyIdentifier},
    {EntryProblem::kMalformedSteamId,
     [](const EntryFacts& e) {
       return e.steamId && !e.steamId->empty() && !isSteamId(*e.steamId);
     }},
    {EntryProblem::kMalformedIpAddress,
     [](const EntryFacts& e) {
       return e.ipAddress && !e.ipAddress->empty() && !isIpAddress(*e.ipAddress);
     }},
    {EntryProblem::kNoAdminGroup, [](const EntryFacts& e) { return !e.hasAdminGroup; }},
};

}  // namespace

bool isSteamId(std::string_view text) {
  constexpr std::string_view kPrefix = "STEAM_";
  if (!text.starts_with(kPrefix) || text.size() < kPrefix.size() + 5) {
    return false;
  }
  text.remove_prefix(kPrefix.size());
  return text[0] >= '0' && text[0] <= '5' && text[1] == ':' && (text[2] == '0' || text[2] == '1') &&
         text[3] == ':' && isAllDigits(text.substr(4));
}

bool isIpAddress(std::string_view text) {
  constexpr int kParts = 4;
  for (int part = 1; part <= kParts; ++part) {
    const std::size_t end = part < kParts ? text.find('.') : text.size();
    if (end == std::string_view::npos) {
      return false;
    }
    const std::string_view number = text.substr(0, end);
    if (!isAllDigits(number) || number.size() > 3 || std::stoi(std::string(number)) > 255) {
      return false;
    }
    text.remove_prefix(std::min(text.size(), end + 1));
  }
  return true;
}

std::vector<EntryFinding> checkEntries(std::span<const EntryFacts> entries) {
  std::unordered_map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    byName[foldedCase(entries[i].name)].push_back(i);
  }
  std::vector<EntryFinding> findings;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::vector<std::size_t>& sameName = byName[foldedCase(entries[i].name)];
    if (sameName.size() > 1 && sameName.front() == i) {
      findings.push_back({EntryProblem::kSameName, i, sameName});
    }
    for (const EntryRule& rule : kEntryRules) {
      if (rule.applies(entries[i])) {
        findings.push_back({rule.problem, i, {}});
      }
    }
  }
  return findings;
}

EntryFacts entryFactsOf(const AdminRecord& admin) {
  EntryFacts entry;
  entry.name = fileValue(admin.name.view());
  entry.hasAdminGroup =
      catalogue::lineFor(catalogue::kAdminGroupLines, admin.adminGroup) != nullptr;
  if (isCode(admin.idMethod, IdMethod::kBySteamId)) {
    entry.steamId = fileValue(admin.steamId.view());
  }
  if (isCode(admin.idMethod, IdMethod::kByIpAddress)) {
    entry.ipAddress = fileValue(admin.ipAddress.view());
  }
  return entry;
}

}  // namespace velmora
