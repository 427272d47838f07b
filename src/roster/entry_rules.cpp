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
    {EntryProblem::kSteamIdInOtherForm,
     [](const EntryFacts& e) {
       const std::optional<SteamAccount> account =
           e.steamId ? steamAccountOf(*e.steamId) : std::nullopt;
       return account && account->form != SteamIdForm::kSteamId;
     }},
    {EntryProblem::kMalformedSteamId,
     [](const EntryFacts& e) {
       return e.steamId && !e.steamId->empty() && !steamAccountOf(*e.steamId);
     }},
    {EntryProblem::kMalformedIpAddress,
     [](const EntryFacts& e) {
       return e.ipAddress && !e.ipAddress->empty() && !isIpAddress(*e.ipAddress);
     }},
    {EntryProblem::kNoAdminGroup, [](const EntryFacts& e) { return !e.hasAdminGroup; }},
};

}  // namespace

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

std::string accountName(std::string_view steamId) {
  const std::optional<SteamAccount> account = steamAccountOf(steamId);
  return account ? account->steamId() : std::string(steamId);
}

std::vector<EntryFinding> checkEntries(std::span<const EntryFacts> entries) {
  std::unordered_map<std::string, std::vector<std::size_t>> byName;
  std::unordered_map<std::string, std::vector<std::size_t>> byAccount;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    byName[foldedCase(entries[i].name)].push_back(i);
    if (entries[i].steamId && !entries[i].steamId->empty()) {
      byAccount[accountName(*entries[i].steamId)].push_back(i);
    }
  }
  std::vector<EntryFinding> findings;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::vector<std::size_t>& sameName = byName[foldedCase(entries[i].name)];
    if (sameName.size() > 1 && sameName.front() == i) {
      findings.push_back({EntryProblem::kSameName, i, sameName});
    }
    if (entries[i].steamId && !entries[i].steamId->empty()) {
      const std::vector<std::size_t>& sameAccount = byAccount[accountName(*entries[i].steamId)];
      if (sameAccount.size() > 1 && sameAccount.front() == i) {
        findings.push_back({EntryProblem::kSameAccount, i, sameAccount});
      }
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
