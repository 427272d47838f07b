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

// The entry node holds; its groups are added to groupUses. Given place, where it and what it
// holds stand in text goes there too, and where its groups stand to groupPlaces: both are read
// from the same lookups of the entry's keys.
ClientEntry entryOf(std::string_view text, const Node& node, std::vector<GroupUse>& groupUses,
                    EntryPlace* place, std::vector<PairAt>* groupPlaces) {
  ClientEntry entry;
  entry.facts.name = node.key;
  entry.line = node.line;
  entry.isBlock = node.isBlock;
  if (place != nullptr) {
    *place = EntryPlace{blockAt(text, node), {}, {}, {}, {}};
  }
  if (!node.isBlock) {
    return entry;
  }
  const auto placed = [&](std::optional<PairAt> EntryPlace::*at, const Node& value) {
    if (place != nullptr) {
      place->*at = pairAt(text, value);
    }
  };
  if (const Node* name = valueOf(node, fields::kName)) {
    entry.realName = name->value;
    placed(&EntryPlace::nameAt, *name);
  }
  if (const Node* steam = valueOf(node, fields::kSteam)) {
    entry.facts.steamId = steam->value;
    entry.steamLine = steam->valueLine;
    placed(&EntryPlace::steamAt, *steam);
  }
  if (const Node* ip = valueOf(node, fields::kIp)) {
    entry.facts.ipAddress = ip->value;
    entry.ipLine = ip->valueLine;
    placed(&EntryPlace::ipAt, *ip);
  }
  entry.firstGroup = groupUses.size();
  if (const Node* groups = blockOf(node, catalogue::kGroupsKey)) {
    if (place != nullptr) {
      place->groupsAt = blockAt(text, *groups);
    }
    for (const Node& use : groups->children) {
      if (!use.isBlock) {
        groupUses.push_back({std::string(use.key), std::string(use.value), use.valueLine});
        if (groupPlaces != nullptr) {
          groupPlaces->push_back(pairAt(text, use));
        }
      }
    }
  }
  entry.groupCount = groupUses.size() - entry.firstGroup;
  entry.facts.hasAdminGroup =
      groupIn(std::span(groupUses).subspan(entry.firstGroup), catalogue::kAdminKind) != nullptr;
  return entry;
}

}  // namespace

PlacedEntry placeOf(std::string_view text, const ClientsFile& file, std::size_t index) {
  const BlockAt& at = file.blocks[index];
  PlacedEntry placed{{at, {}, {}, {}, {}}, {}};
  if (!file.entries[index].isBlock) {
    return placed;
  }
  // The entry's text reads alone as it did in the file. Its nodes' texts are views of the
  // file's text, so their spans are the file's; only offsets of braces count from the entry.
  const keyvalues::Document entry =
      keyvalues::parse(text.substr(at.key.begin, at.close + 1 - at.key.begin));
  if (entry.error || entry.nodes.empty() || !entry.nodes.front().isBlock) {
    return placed;
  }
  std::vector<GroupUse> groupUses;
  entryOf(text, entry.nodes.front(), groupUses, &placed.place, &placed.groupPlaces);
  placed.place.at = at;
  if (placed.place.groupsAt) {
    placed.place.groupsAt->open += at.key.begin;
    placed.place.groupsAt->close += at.key.begin;
  }
  return placed;
}

std::optional<ClientsFile> parseEntries(std::string_view entries) {
  std::string text = "\"r\" { \"players\" {\n";
  text.append(entries).append("\n} }");
  ParsedClientsFile parsed = parseClientsFile(text, EntryPlaces::kSkipped);
  if (parsed.document.error) {
    return std::nullopt;
  }
  return std::move(parsed.file);
}

ParsedClientsFile parseClientsFile(std::string_view text, EntryPlaces places,
                                   const keyvalues::TakeNested& alsoTake) {
  // Which block is the root's "players" or "groups" block is known only once the text is read:
  // what is read two levels down is kept by the block that holds it, by its opening brace.
  std::map<std::size_t, std::vector<ClientEntry>> entriesIn;
  std::map<std::size_t, std::vector<GroupUse>> groupUsesIn;
  std::map<std::size_t, std::vector<BlockAt>> blocksIn;
  std::map<std::size_t, std::vector<GroupUse>> definedIn;
  std::map<std::size_t, std::vector<GroupLineAt>> definedLinesIn;
  std::map<std::size_t, std::vector<KindBlockAt>> kindBlocksIn;
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
      if (places == EntryPlaces::kRead) {
        withRoom(blocksIn[parent.openOffset]).push_back(blockAt(text, node));
      }
      withRoom(entriesIn[parent.openOffset])
          .push_back(
              entryOf(text, node, withRoom(groupUsesIn[parent.openOffset]), nullptr, nullptr));
    } else if (sameLetterCaseAside(parent.key, catalogue::kGroupsKey)) {
      std::vector<GroupUse>& defined = definedIn[parent.openOffset];
      std::vector<GroupLineAt>& lines = definedLinesIn[parent.openOffset];
      for (const Node& group : node.children) {
        defined.push_back({std::string(node.key), std::string(group.key), group.line});
        lines.push_back({group.isBlock ? std::string() : std::string(group.value),
                         pairAt(text, group), !group.isBlock});
      }
      if (node.isBlock) {
        kindBlocksIn[parent.openOffset].push_back({std::string(node.key), blockAt(text, node)});
      }
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
  file.rootClose = root->closeOffset;
  if (const Node* players = blockOf(*root, kPlayersKey)) {
    file.playersClose = players->closeOffset;
    file.playersOffset = players->keySpan(text).begin;
    file.entries = std::move(entriesIn[players->openOffset]);
    file.groupUses = std::move(groupUsesIn[players->openOffset]);
    file.blocks = std::move(blocksIn[players->openOffset]);
  }
  if (const Node* groups = blockOf(*root, catalogue::kGroupsKey)) {
    file.definedGroups = std::move(definedIn[groups->openOffset]);
    file.definedLines = std::move(definedLinesIn[groups->openOffset]);
    file.kindBlocks = std::move(kindBlocksIn[groups->openOffset]);
    file.groupsAt = blockAt(text, *groups);
  }
  return parsed;
}

}  // namespace velmora
