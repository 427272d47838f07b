#include "clientfile/clients_file_reader.hpp"

#include <algorithm>

#include "roster/group_catalogue.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

using keyvalues::Node;

// A child with a plain value, such as "steam" "STEAM_0:1:7"; null for none or for a block.
const Node* valueOf(const Node& parent, std::string_view key) {
  const Node* found = parent.child(key);
  return found != nullptr && !found->isBlock ? found : nullptr;
}

const Node* blockOf(const Node& parent, std::string_view key) {
  const Node* found = parent.child(key);
  return found != nullptr && found->isBlock ? found : nullptr;
}

ClientEntry entryOf(const Node& node) {
  ClientEntry entry;
  entry.facts.name = node.key;
  entry.line = node.line;
  entry.isBlock = node.isBlock;
  entry.offset = node.offset;
  entry.closeOffset = node.closeOffset;
  if (!node.isBlock) {
    return entry;
  }
  if (const Node* name = valueOf(node, "name")) {
    entry.realName = name->value;
  }
  if (const Node* steam = valueOf(node, "steam")) {
    entry.facts.steamId = steam->value;
    entry.steamLine = steam->valueLine;
  }
  if (const Node* ip = valueOf(node, "ip")) {
    entry.facts.ipAddress = ip->value;
    entry.ipLine = ip->valueLine;
  }
  if (const Node* groups = blockOf(node, "groups")) {
    for (const Node& use : groups->children) {
      if (!use.isBlock) {
        entry.groups.push_back({use.key, use.value, use.valueLine});
      }
    }
  }
  entry.facts.hasAdminGroup = entry.groupOf(catalogue::kAdminKind) != nullptr;
  return entry;
}

}  // namespace

const GroupUse* ClientEntry::groupOf(std::string_view kind) const {
  const auto use = std::find_if(groups.begin(), groups.end(), [kind](const GroupUse& u) {
    return sameLetterCaseAside(u.kind, kind);
  });
  return use == groups.end() ? nullptr : &*use;
}

bool ClientsFile::defines(std::string_view kind, std::string_view group) const {
  return std::any_of(definedGroups.begin(), definedGroups.end(), [&](const GroupUse& defined) {
    return sameLetterCaseAside(defined.kind, kind) && sameLetterCaseAside(defined.group, group);
  });
}

std::vector<EntryFacts> ClientsFile::entryFacts() const {
  std::vector<EntryFacts> facts(entries.size());
  std::transform(entries.begin(), entries.end(), facts.begin(),
                 [](const ClientEntry& entry) { return entry.facts; });
  return facts;
}

ClientsFile readClientsFile(const keyvalues::Document& document) {
  ClientsFile file;
  const auto root = std::find_if(document.nodes.begin(), document.nodes.end(),
                                 [](const Node& node) { return node.isBlock; });
  if (root == document.nodes.end()) {
    return file;
  }
  file.rootLine = root->line;
  if (const Node* players = blockOf(*root, "players")) {
    file.playersClose = players->closeOffset;
    file.playersOffset = players->offset;
    for (const Node& node : players->children) {
      file.entries.push_back(entryOf(node));
    }
  }
  if (const Node* groups = blockOf(*root, "groups")) {
    for (const Node& kind : groups->children) {
      for (const Node& group : kind.children) {
        file.definedGroups.push_back({kind.key, group.key, group.line});
      }
    }
  }
  return file;
}

}  // namespace velmora
