#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/key_values.hpp"
#include "roster/entry_rules.hpp"

namespace velmora {

// A group that an entry's personal "groups" block names, such as "Admin" "Serveradmin".
struct GroupUse {
  std::string kind;
  std::string group;
  std::size_t line = 0;
};

// One client entry under "players", as the file holds it.
struct ClientEntry {
  EntryFacts facts;
  std::size_t line = 0;  // of the entry's key, which is the client's name
  bool isBlock = true;   // false for a key with a plain value where an entry belongs
  std::size_t steamLine = 0;
  std::size_t ipLine = 0;
  std::vector<GroupUse> groups;
  std::optional<std::string> realName;  // the "name" value, when the entry has one
  // Where the entry's key begins in the text and, for a block, where its closing brace is.
  std::size_t offset = 0;
  std::size_t closeOffset = 0;

  // The group the entry names under kind ("Admin" or "Immunity"); null when none.
  [[nodiscard]] const GroupUse* groupOf(std::string_view kind) const;
};

// What velmora needs of an existing clients file, copied out of its parsed text.
struct ClientsFile {
  std::size_t rootLine = 1;
  // Where the "players" block's closing brace is in the text; empty when there is no such
  // block.
  std::optional<std::size_t> playersClose;
  std::size_t playersOffset = 0;  // where the "players" key begins in the text
  std::vector<ClientEntry> entries;
  // The global "groups" section: each kind ("Admin", "Immunity") with its groups.
  std::vector<GroupUse> definedGroups;

  // Whether the global "groups" section defines group under kind, letter case aside.
  [[nodiscard]] bool defines(std::string_view kind, std::string_view group) const;
  [[nodiscard]] std::vector<EntryFacts> entryFacts() const;
};

// Reads the entries of a document without syntax errors: the first block at the top level is
// the root, and its "players" and "groups" blocks are read.
ClientsFile readClientsFile(const keyvalues::Document& document);

}  // namespace velmora
