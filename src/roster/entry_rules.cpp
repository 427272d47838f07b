#include "roster/entry_rules.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <unordered_map>

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

// Entries alike in what keyOf gives them are named together; an entry it gives nothing is
// alike to none.
struct AlikeRule {
  EntryProblem problem;
  std::optional<std::string> (*keyOf)(const EntryFacts&);
};

constexpr AlikeRule kAlikeRules[] = {
    {EntryProblem::kSameName,
     [](const EntryFacts& e) { return std::optional(foldedCase(e.name)); }},
    {EntryProblem::kSameAccount,
     [](const EntryFacts& e) {
       return e.steamId && !e.steamId->empty() ? std::optional(accountName(*e.steamId))
                                               : std::nullopt;
     }},
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
  return checkEntries(entries.size(),
                      [entries](std::size_t index) -> const EntryFacts& { return entries[index]; });
}

std::vector<EntryFinding> checkEntries(std::size_t count, const FactsAt& factsAt) {
  // Per rule, the entries alike, in order, under the first of them; a list is made only where
  // there is more than one, so that a file of many admins costs no list per admin.
  std::array<std::unordered_map<std::size_t, std::vector<std::size_t>>, std::size(kAlikeRules)>
      alikeOf;
  // Kept from rule to rule: memory used once costs less to use again than fresh memory.
  std::vector<std::optional<std::string>> keys(count);
  std::unordered_map<std::string_view, std::size_t> firstOfKey;
  firstOfKey.reserve(count);
  for (std::size_t rule = 0; rule < std::size(kAlikeRules); ++rule) {
    firstOfKey.clear();
    for (std::size_t i = 0; i < count; ++i) {
      keys[i] = kAlikeRules[rule].keyOf(factsAt(i));
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (keys[i]) {
        const std::size_t first = firstOfKey.emplace(*keys[i], i).first->second;
        if (first != i) {
          std::vector<std::size_t>& alike = alikeOf[rule][first];
          if (alike.empty()) {
            alike.push_back(first);
          }
          alike.push_back(i);
        }
      }
    }
  }
  std::vector<EntryFinding> findings;
  for (std::size_t i = 0; i < count; ++i) {
    // The rules themselves, not an index into them: GCC 12 at -O2 with UBSan read another
    // rule's problem through the index.
    std::size_t alikeRule = 0;
    for (const AlikeRule& alike : kAlikeRules) {
      const auto alikeEntries = alikeOf[alikeRule].find(i);
      if (alikeEntries != alikeOf[alikeRule].end()) {
        findings.push_back({alike.problem, i, alikeEntries->second});
      }
      ++alikeRule;
    }
    for (const EntryRule& rule : kEntryRules) {
      if (rule.applies(factsAt(i))) {
        findings.push_back({rule.problem, i, {}});
      }
    }
  }
  return findings;
}

EntryFacts entryFactsOf(const EntryValues& entry) {
  return {entry.key, entry.steamId, entry.ipAddress, entry.adminGroup.has_value()};
}

EntryFacts entryFactsOf(const AdminRecord& admin) { return entryFactsOf(entryValuesOf(admin)); }

}  // namespace velmora
