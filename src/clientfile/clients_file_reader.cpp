#include "clientfile/clients_file_reader.hpp"

#include <algorithm>
#include <iterator>
#include <map>

#include "platform/large_pages.hpp"
#include "roster/group_catalogue.hpp"
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

}  // namespace

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
