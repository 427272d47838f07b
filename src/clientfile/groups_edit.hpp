#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clientfile/clients_file.hpp"
#include "clientfile/defined_groups.hpp"
#include "clientfile/file_layout.hpp"
#include "clientfile/roster_records.hpp"
#include "clientfile/text_edits.hpp"
#include "platform/result.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// A group by its kind ("Admin" or "Immunity") and its name.
struct GroupNamed {
  std::string_view kind;
  std::string name;
};

// What a roster's groups make of the global "groups" section of one file: the groups the file
// lacks, those whose flags differ, and, with prune, those of the file the roster does not
// name. A group is the same letter case aside, and its flags are the same when they are the
// same words in the same order, however the file lays them out over its lines.
struct GroupsPlan {
  std::vector<DefinedGroup> defined;                         // the file's
  std::vector<std::size_t> added;                            // roster groups, in roster order
  std::vector<std::pair<std::size_t, std::size_t>> changed;  // a defined and a roster group
  std::vector<std::size_t> removed;                          // defined groups

  [[nodiscard]] bool changesFile() const {
    return !added.empty() || !changed.empty() || !removed.empty();
  }
  // The defined group of that kind and name that the plan takes out; null when none.
  [[nodiscard]] const DefinedGroup* removes(std::string_view kind, std::string_view name) const;
  [[nodiscard]] std::vector<GroupNamed> addedNames(std::span<const RosterGroup> roster) const;
  [[nodiscard]] std::vector<GroupNamed> changedNames() const;
  [[nodiscard]] std::vector<GroupNamed> removedNames() const;
};

// The first admin found who still has a group that a plan takes out, once the file is changed:
// the plan cannot be carried out then.
class StillUsed {
 public:
  explicit StillUsed(const GroupsPlan& plan) : plan_(plan) {}

  // Notes that admin (as the operator knows it) has group of kind after the change.
  void check(std::string_view kind, std::string_view group, std::string_view admin);
  void check(const EntryValues& values, std::string_view admin);

  // Why fileName cannot take the plan; empty when it can.
  [[nodiscard]] std::optional<Failure> refusal(std::string_view fileName) const;

 private:
  const GroupsPlan& plan_;
  std::optional<std::pair<const DefinedGroup*, std::string>> found_;
};

GroupsPlan planGroups(const ClientsFile& file, std::span<const RosterGroup> roster, bool prune);

// The edits that carry out plan in text, read as file, laid out as layout says:
// - a group the file lacks goes at the end of its kind's block, as velmora writes a pair, in
//   the indentation of the lines there; a missing kind block, or a missing "groups" section, is
//   made at the end of the section, or of the root block;
// - a group whose flags differ gets them on its first line, and its other lines go;
// - a group taken out goes with all its lines.
// Every other byte stays as it was.
std::vector<TextEdit> groupEdits(std::string_view text, const ClientsFile& file,
                                 const FileLayout& layout, const GroupsPlan& plan,
                                 std::span<const RosterGroup> roster);

}  // namespace velmora
