#include "clientfile/clients_file_reader.hpp"

#include <algorithm>
#include <iterator>
#include <map>

#include "clientfile/large_pages.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/steam_id.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

using keyvalues::Node;

constexpr std::string_view kPlayersKey = "players";

// A child with a plain value, such as "steam" "STEAM_0:1:7"; null for none or for a block.
const Node* valueOf(const Node& parent, std::string_view key) {
  const Node* found = parent.child(key);
  return found != nullptr && !found->isBlock ? found : nullptr;
}

const Node* blockOf(const Node& parent, std::string_view key) {
  const Node* found = parent.child(key);
  return found != nullptr && found->isBlock ? found : nullptr;
}

PairAt pairAt(std::string_view text, const Node& node) {
  return {node.keySpan(text), node.valueSpan(text), node.end(text)};
}
BlockAt blockAt(std::string_view text, const Node& node) {
  return {node.keySpan(text), node.openOffset, node.closeOffset};
}

// The group among groups under kind, letter case aside; null when none.
const GroupUse* groupIn(std::span<const GroupUse> groups, std::string_view kind) {
  const auto use = std::find_if(groups.begin(), groups.end(), [kind](const GroupUse& u) {
    return sameLetterCaseAside(u.kind, kind);
  });
  return use == groups.end() ? nullptr : &*use;
}

// The entry node holds; its groups are added to groupUses.
ClientEntry entryOf(const Node& node, std::vector<GroupUse>& groupUses) {
  ClientEntry entry;
  entry.facts.name = node.key;
  entry.line = node.line;
  entry.isBlock = node.isBlock;
  if (!node.isBlock) {
    return entry;
  }
  if (const Node* name = valueOf(node, fields::kName)) {
    entry.realName = name->value;
  }
  if (const Node* steam = valueOf(node, fields::kSteam)) {
    entry.facts.steamId = steam->value;
    entry.steamLine = steam->valueLine;
  }
  if (const Node* ip = valueOf(node, fields::kIp)) {
    entry.facts.ipAddress = ip->value;
    entry.ipLine = ip->valueLine;
  }
  entry.firstGroup = groupUses.size();
  if (const Node* groups = blockOf(node, catalogue::kGroupsKey)) {
    for (const Node& use : groups->children) {
      if (!use.isBlock) {
        groupUses.push_back({std::string(use.key), std::string(use.value), use.valueLine});
      }
    }
  }
  entry.groupCount = groupUses.size() - entry.firstGroup;
  entry.facts.hasAdminGroup =
      groupIn(std::span(groupUses).subspan(entry.firstGroup), catalogue::kAdminKind) != nullptr;
  return entry;
}

std::optional<PairAt> pairAtOf(std::string_view text, const Node* node) {
  return node != nullptr ? std::optional(pairAt(text, *node)) : std::nullopt;
}

// Where entryOf's entry and the values it read stand in text.
EntryPlace placeOf(std::string_view text, const Node& node) {
  EntryPlace place{blockAt(text, node), {}, {}, {}, {}, {}};
  if (!node.isBlock) {
    return place;
  }
  place.nameAt = pairAtOf(text, valueOf(node, fields::kName));
  place.steamAt = pairAtOf(text, valueOf(node, fields::kSteam));
  place.ipAt = pairAtOf(text, valueOf(node, fields::kIp));
  if (const Node* groups = blockOf(node, catalogue::kGroupsKey)) {
    place.groupsAt = blockAt(text, *groups);
    for (const Node& use : groups->children) {
      if (!use.isBlock) {
        place.groupAt.push_back(pairAt(text, use));
      }
    }
  }
  return place;
}

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
  const auto groupIn = [this, entry](std::string_view kind) -> std::optional<std::string> {
    const GroupUse* use = groupOf(entry, kind);
    return use != nullptr ? std::optional(use->group) : std::nullopt;
  };
  const ClientEntry& held = entries[entry];
  return {held.facts.name,
          held.realName,
          held.facts.steamId,
          held.facts.ipAddress,
          groupIn(catalogue::kAdminKind),
          groupIn(catalogue::kImmunityKind)};
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

ParsedClientsFile parseClientsFile(std::string_view text, EntryPlaces places,
                                   const keyvalues::TakeNested& alsoTake) {
  // Which block is the root's "players" or "groups" block is known only once the text is read:
  // what is read two levels down is kept by the block that holds it, by its opening brace.
  std::map<std::size_t, std::vector<ClientEntry>> entriesIn;
  std::map<std::size_t, std::vector<GroupUse>> groupUsesIn;
  std::map<std::size_t, std::vector<EntryPlace>> placesIn;
  std::map<std::size_t, std::vector<GroupUse>> definedIn;
  // Room for an entry and a group per opening brace, more than entries in blocks need and
  // about as many groups as they name: the entries of a large file are then not moved as they
  // are read, and room never written takes no memory. Each brace is found on its own: the
  // search between two runs over many bytes at a time, where a count goes byte by byte.
  std::size_t braces = 0;
  for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
    ++braces;
  }
  const auto withRoom = [braces](auto& list) -> auto& {
    if (list.empty()) {
      list.reserve(braces);
      adviseLargePages(list.data(), list.capacity() * sizeof(list.front()));
    }
    return list;
  };
  ParsedClientsFile parsed;
  parsed.document = keyvalues::parse(text, [&](const Node& node, const Node& parent) {
    if (sameLetterCaseAside(parent.key, kPlayersKey)) {
      withRoom(entriesIn[parent.openOffset])
          .push_back(entryOf(node, withRoom(groupUsesIn[parent.openOffset])));
      if (places == EntryPlaces::kRead) {
        withRoom(placesIn[parent.openOffset]).push_back(placeOf(text, node));
      }
    } else if (sameLetterCaseAside(parent.key, catalogue::kGroupsKey)) {
      std::vector<GroupUse>& defined = definedIn[parent.openOffset];
      std::transform(node.children.begin(), node.children.end(), std::back_inserter(defined),
                     [&node](const Node& group) {
                       return GroupUse{std::string(node.key), std::string(group.key), group.line};
                     });
    }
    if (alsoTake) {
      alsoTake(node, parent);
    }
  });
  const keyvalues::Document& document = parsed.document;
  const auto root = std::find_if(document.nodes.begin(), document.nodes.end(),
                                 [](const Node& node) { return node.isBlock; });
  if (document.error || root == document.nodes.end()) {
    return parsed;
  }
  ClientsFile& file = parsed.file;
  file.rootLine = root->line;
  if (const Node* players = blockOf(*root, kPlayersKey)) {
    file.playersClose = players->closeOffset;
    file.playersOffset = players->keySpan(text).begin;
    file.entries = std::move(entriesIn[players->openOffset]);
    file.groupUses = std::move(groupUsesIn[players->openOffset]);
    file.places = std::move(placesIn[players->openOffset]);
  }
  if (const Node* groups = blockOf(*root, catalogue::kGroupsKey)) {
    file.definedGroups = std::move(definedIn[groups->openOffset]);
  }
  return parsed;
}

}  // namespace velmora
