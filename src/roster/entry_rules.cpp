#include "roster/entry_rules.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <iterator>
#include <unordered_map>

#include "text/character_classes.hpp"
#include "text/index_table.hpp"
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

// The account a STEAMID names, or else its text, hashed: STEAMIDs that name one account hash
// alike in any form. A text that does not name an account cannot be the STEAM_0:Y:Z that
// names one, so the two kinds of hash never need to meet.
std::uint64_t accountHash(std::string_view steamId) {
  const std::optional<SteamAccount> account = steamAccountOf(steamId);
  return account ? std::hash<std::uint64_t>{}(account->number) * 2
                 : std::hash<std::string_view>{}(steamId)*2 + 1;
}

// Entries alike in a rule's sense are named together. hashOf is the same for alike entries and
// empty for an entry alike to none.
struct AlikeRule {
  EntryProblem problem;
  std::optional<std::uint64_t> (*hashOf)(const EntryFacts&);
  bool (*alike)(const EntryFacts&, const EntryFacts&);
};

constexpr AlikeRule kAlikeRules[] = {
    {EntryProblem::kSameName,
     [](const EntryFacts& e) { return std::optional(letterCaseAsideHash(e.name)); },
     [](const EntryFacts& a, const EntryFacts& b) { return sameLetterCaseAside(a.name, b.name); }},
    {EntryProblem::kSameAccount,
     [](const EntryFacts& e) {
       return e.steamId && !e.steamId->empty() ? std::optional(accountHash(*e.steamId))
                                               : std::nullopt;
     },
     [](const EntryFacts& a, const EntryFacts& b) {
       return accountName(*a.steamId) == accountName(*b.steamId);
     }},
};

// The entries alike under rule, in order, under the first of them, where there is more than
// one. hashes and table are only room, kept from rule to rule.
void groupAlike(const AlikeRule& rule, std::size_t count, const FactsAt& factsAt,
                std::vector<std::uint64_t>& hashes, IndexTable& table,
                std::unordered_map<std::size_t, std::vector<std::size_t>>& alikeOf) {
  table.reset(count);
  for (std::size_t i = 0; i < count; ++i) {
    const EntryFacts& facts = factsAt(i);
    const std::optional<std::uint64_t> hash = rule.hashOf(facts);
    if (!hash) {
      continue;
    }
    hashes[i] = *hash;
    const std::size_t slot = table.slotOf(*hash, [&](std::uint32_t held) {
      return hashes[held] == *hash && rule.alike(factsAt(held), facts);
    });
    if (table[slot] == IndexTable::kFree) {
      table[slot] = static_cast<std::uint32_t>(i);
      continue;
    }
    std::vector<std::size_t>& alike = alikeOf[table[slot]];
    if (alike.empty()) {
      alike.push_back(table[slot]);
    }
    alike.push_back(i);
  }
}

}  // namespace

bool isIpAddress(std::string_view text) {
  constexpr int kParts = 4;
  for (int part = 1; part <= kParts; ++part) {
    const std::size_t end = part < kParts ? text.find('.') : text.size();
    if (end == std::string_view::npos) {
      return false;
    }
    const std::string_view number = text.substr(0, end);
    if (!isAllDigits(number) || number.size() > 3) {
      return false;
    }
    int value = 0;  // three digits at most: nothing to fail
    std::from_chars(number.data(), number.data() + number.size(), value);
    if (value > 255) {
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

std::vector<EntryFinding> checkEntries(std::size_t count, const FactsAt& factsAt,
                                       const std::function<bool(std::size_t index)>& ruledOn) {
  // Per rule, the entries alike, in order, under the first of them; a list is made only where
  // there is more than one, so that a file of many admins costs no list per admin.
  std::array<std::unordered_map<std::size_t, std::vector<std::size_t>>, std::size(kAlikeRules)>
      alikeOf;
  // Kept from rule to rule: memory used once costs less to use again than fresh memory.
  std::vector<std::uint64_t> hashes(count);
  IndexTable table;
  for (std::size_t rule = 0; rule < std::size(kAlikeRules); ++rule) {
    groupAlike(kAlikeRules[rule], count, factsAt, hashes, table, alikeOf[rule]);
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
    if (ruledOn && !ruledOn(i)) {
      continue;
    }
    const EntryFacts& facts = factsAt(i);
    for (const EntryRule& rule : kEntryRules) {
      if (rule.applies(facts)) {
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
