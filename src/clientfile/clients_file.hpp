#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keyvalues/key_values.hpp"
#include "roster/entry_rules.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// Where a key with a plain value stands in the text, such as "steam" "STEAM_0:1:7".
struct PairAt {
  keyvalues::Span key;
  keyvalues::Span value;
  std::size_t end = 0;  // after the value, or after the condition that follows it
};

// Where a block stands in the text: its key, its opening and its closing brace.
struct BlockAt {
  keyvalues::Span key;
  std::size_t open = 0;
  std::size_t close = 0;
};

// A group that an entry's personal "groups" block names, such as "Admin" "Serveradmin".
struct GroupUse {
  std::string kind;
  std::string group;
  std::size_t line = 0;
};

// Where a line of the global "groups" section stands and what it gives: the flags of a group,
// such as "Serveradmin" "a b c" under "Admin"; a line whose value is a block gives none.
struct GroupLineAt {
  std::string flags;
  PairAt at;
  bool isValue = true;
};

// A block of the global "groups" section that groups of one kind stand in, such as "Admin".
struct KindBlockAt {
  std::string kind;  // as the file spells it
  BlockAt at;
};

// One client entry under "players", as the file holds it.
struct ClientEntry {
  EntryFacts facts;
  std::size_t line = 0;  // of the entry's key, which is the client's name
  bool isBlock = true;   // false for a key with a plain value where an entry belongs
  std::size_t steamLine = 0;
  std::size_t ipLine = 0;
  std::optional<std::string> realName;  // the "name" value, when the entry has one
  // Where the groups of the entry's own "groups" block begin in ClientsFile::groupUses, and how
  // many there are.
  std::size_t firstGroup = 0;
  std::size_t groupCount = 0;
};

// Where an entry and its values stand in the text, for an edit in place; the block's braces
// only for a block. See placeOf.
struct EntryPlace {
  BlockAt at;
  std::optional<PairAt> nameAt;
  std::optional<PairAt> steamAt;
  std::optional<PairAt> ipAt;
  std::optional<BlockAt> groupsAt;
};

// The group among groups under kind, letter case aside; null when none.
const GroupUse* groupIn(std::span<const GroupUse> groups, std::string_view kind);

// Whether a file is read with where its entries stand, which only an edit in place needs.
enum class EntryPlaces { kRead, kSkipped };

// What velmora needs of an existing clients file, copied out of its parsed text.
struct ClientsFile {
  std::size_t rootLine = 1;
  // Where the "players" block's closing brace is in the text; empty when there is no such
  // block.
  std::optional<std::size_t> playersClose;
  std::size_t playersOffset = 0;  // where the "players" key begins in the text
  std::vector<ClientEntry> entries;
  // The groups of every entry, side by side in file order: a file of many admins then needs
  // no allocation for each admin's groups.
  std::vector<GroupUse> groupUses;
  // Where each entry stands, when read with places: what is inside it is read again from
  // there for the few entries an edit changes, so that a large file need not keep it all.
  std::vector<BlockAt> blocks;
  // The global "groups" section: each kind ("Admin", "Immunity") with its groups, line by line,
  // and what each line gives and where it stands.
  std::vector<GroupUse> definedGroups;
  std::vector<GroupLineAt> definedLines;
  std::vector<KindBlockAt> kindBlocks;  // in file order
  std::optional<BlockAt> groupsAt;      // the section itself, when there is one
  std::size_t rootClose = 0;            // the root block's closing brace

  // The groups entry names in its own "groups" block, in its order.
  [[nodiscard]] std::span<const GroupUse> groupsOf(std::size_t entry) const;
  // The group entry names under kind ("Admin" or "Immunity"); null when none.
  [[nodiscard]] const GroupUse* groupOf(std::size_t entry, std::string_view kind) const;
  // What entry holds: its key and each value it has.
  [[nodiscard]] EntryValues valuesOf(std::size_t entry) const;
  // Whether entry holds values, byte for byte: valuesOf(entry) == values, without the copy.
  [[nodiscard]] bool holds(std::size_t entry, const EntryValues& values) const;
  // Whether the global "groups" section defines group under kind, letter case aside.
  [[nodiscard]] bool defines(std::string_view kind, std::string_view group) const;
  // The group as the global "groups" section spells it under kind, letter case aside; empty
  // when it does not define it.
  [[nodiscard]] std::optional<std::string> definedSpelling(std::string_view kind,
                                                           std::string_view group) const;
  // The global "groups" section's group under kind, letter case aside; null when none.
  [[nodiscard]] const GroupUse* definition(std::string_view kind, std::string_view group) const;
  // Every group the global "groups" section defines under kind, once each, in file order.
  [[nodiscard]] std::vector<std::string> groupsDefined(std::string_view kind) const;
  [[nodiscard]] std::vector<EntryFacts> entryFacts() const;
  // The entries that wanted names, letter case aside as the server matches: by key, "name"
  // value, or "steam" or "ip" value; and by Steam account, when wanted and the "steam" value
  // name one in any form. Indexes in file order.
  [[nodiscard]] std::vector<std::size_t> entriesNamedBy(std::string_view wanted) const;
};

}  // namespace velmora
