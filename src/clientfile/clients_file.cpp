#include "clientfile/clients_file.hpp"

#include <algorithm>

#include "roster/group_catalogue.hpp"
#include "roster/steam_id.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

bool matches(const std::optional<std::string>& value, std::string_view wanted) {
  return value && sameLetterCaseAside(*value, wanted);
}

// Whether steamId and wanted name one account, in whatever forms each is written.
bool sameAccount(const std::optional<std::string>& steamId, std::string_view wanted) {
  const std::optional<SteamAccount> account = steamId ? steamAccountOf(*steamId) : std::nullopt;
  const std::optional<SteamAccount> wantedAccount = steamAccountOf(wanted);
  return account && wantedAccount && account->number == wantedAccount->number;
}

bool names(const ClientEntry& entry, std::string_view wanted) {
  return entry.isBlock &&
         (sameLetterCaseAside(entry.facts.name, wanted) || matches(entry.realName, wanted) ||
          matches(entry.facts.steamId, wanted) || sameAccount(entry.facts.steamId, wanted) ||
          matches(entry.facts.ipAddress, wanted));
}

}  // namespace

const GroupUse* groupIn(std::span<const GroupUse> groups, std::string_view kind) {
  const auto use = std::find_if(groups.begin(), groups.end(), [kind](const GroupUse& u) {
    return sameLetterCaseAside(u.kind, kind);
  });
  return use == groups.end() ? nullptr : &*use;
}

std::vector<std::size_t> ClientsFile::entriesNamedBy(std::string_view wanted) const {
  std::vector<std::size_t> named;
  for (std::size_t index = 0; index < entries.size(); ++index) {
    if (names(entries[index], wanted)) {
      named.push_back(index);
    }
  }
  return named;
}

std::span<const GroupUse> ClientsFile::groupsOf(std::size_t entry) const {
  return std::span(groupUses).subspan(entries[entry].firstGroup, entries[entry].groupCount);
}

const GroupUse* ClientsFile::groupOf(std::size_t entry, std::string_view kind) const {
  return groupIn(groupsOf(entry), kind);
}

EntryValues ClientsFile::valuesOf(std::size_t entry) const {
  const auto groupUnder = [this, entry](std::string_view kind) -> std::optional<std::string> {
    const GroupUse* use = groupOf(entry, kind);
    return use != nullptr ? std::optional(use->group) : std::nullopt;
  };
  const ClientEntry& held = entries[entry];
  return {held.facts.name,
          held.realName,
          held.facts.steamId,
          held.facts.ipAddress,
          groupUnder(catalogue::kAdminKind),
          groupUnder(catalogue::kImmunityKind)};
}

bool ClientsFile::holds(std::size_t entry, const EntryValues& values) const {
  const auto sameGroup = [this, entry](std::string_view kind,
                                       const std::optional<std::string>& group) {
    const GroupUse* use = groupOf(entry, kind);
    return use != nullptr ? group == use->group : !group;
  };
  const ClientEntry& held = entries[entry];
  return held.facts.name == values.key && held.realName == values.name &&
         held.facts.steamId == values.steamId && held.facts.ipAddress == values.ipAddress &&
         sameGroup(catalogue::kAdminKind, values.adminGroup) &&
         sameGroup(catalogue::kImmunityKind, values.immunityGroup);
}

const GroupUse* ClientsFile::definition(std::string_view kind, std::string_view group) const {
  const auto defined =
      std::find_if(definedGroups.begin(), definedGroups.end(), [&](const GroupUse& use) {
        return sameLetterCaseAside(use.kind, kind) && sameLetterCaseAside(use.group, group);
      });
  return defined == definedGroups.end() ? nullptr : &*defined;
}

bool ClientsFile::defines(std::string_view kind, std::string_view group) const {
  return definition(kind, group) != nullptr;
}

std::optional<std::string> ClientsFile::definedSpelling(std::string_view kind,
                                                        std::string_view group) const {
  const GroupUse* defined = definition(kind, group);
  return defined != nullptr ? std::optional(defined->group) : std::nullopt;
}

std::vector<std::string> ClientsFile::groupsDefined(std::string_view kind) const {
  std::vector<std::string> groups;
  for (const GroupUse& use : definedGroups) {
    if (sameLetterCaseAside(use.kind, kind) &&
        std::none_of(groups.begin(), groups.end(), [&use](const std::string& group) {
          return sameLetterCaseAside(group, use.group);
        })) {
      groups.push_back(use.group);
    }
  }
  return groups;
}

std::vector<EntryFacts> ClientsFile::entryFacts() const {
  std::vector<EntryFacts> facts(entries.size());
  std::transform(entries.begin(), entries.end(), facts.begin(),
                 [](const ClientEntry& entry) { return entry.facts; });
  return facts;
}

}  // namespace velmora
