#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file.hpp"

namespace velmora {

// A group of the global "groups" section as the server reads it: a kind, a name, and the
// flags of all its lines, which may be several under one key, letter case aside.
struct DefinedGroup {
  std::string_view kind;           // "Admin" or "Immunity", as velmora spells it
  std::string name;                // as its first line spells it
  std::vector<std::string> flags;  // the words of all its lines, in file order
  std::size_t line = 0;            // its first line
  std::vector<std::size_t> lines;  // its lines, as indexes of ClientsFile::definedGroups

  // The flags as one text, the words joined by one blank.
  [[nodiscard]] std::string flagText() const;
};

// The kind as velmora spells it, letter case aside: "Admin" or "Immunity"; empty for any other.
std::string_view groupKindOf(std::string_view kind);

// The words of flags, which blanks and tabs separate.
std::vector<std::string> flagWords(std::string_view flags);

// The groups of file's global "groups" section, in the order of their first lines. Lines of a
// block of another kind, and lines whose value is a block, are no groups.
std::vector<DefinedGroup> definedGroupsOf(const ClientsFile& file);

// How many of file's entries have the group as theirs of its kind, as the server reads their
// own "groups" blocks.
std::size_t adminsUsing(const ClientsFile& file, std::string_view kind, std::string_view name);

}  // namespace velmora
