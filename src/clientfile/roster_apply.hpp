#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_load.hpp"
#include "clientfile/groups_edit.hpp"
#include "clientfile/roster_records.hpp"
#include "clientfile/text_edits.hpp"
#include "platform/result.hpp"
#include "roster/entry_values.hpp"
#include "roster/packed_roster.hpp"
#include "text/letter_case_index.hpp"

namespace velmora {

// A clients file that does not exist, as the empty file velmora would write for it.
LoadedClientsFile newClientsFile();

// The entries of file by key, letter case aside, as the server finds them; the index holds
// views of the entries' keys, so it lasts as long as the file does not change.
LetterCaseAsideIndex entriesByKey(const ClientsFile& file);

// Why file, shown as fileName, cannot take a roster: it has no "players" block, or two of its
// entries have one key, letter case aside, so that a roster could not say which it means.
std::optional<Failure> rosterRefusal(const ClientsFile& file, const LetterCaseAsideIndex& keys,
                                     std::string_view fileName);

// What applying a roster makes of one clients file.
struct RosterChange {
  // The keys of the admins added, changed and removed, in roster and file order.
  std::vector<std::string> added;
  std::vector<std::string> changed;
  std::vector<std::string> removed;
  // The groups added, changed and removed, in roster and file order.
  std::vector<GroupNamed> groupsAdded;
  std::vector<GroupNamed> groupsChanged;
  std::vector<GroupNamed> groupsRemoved;
  // What makes the file's text hold the roster, in text order; for a file that does not exist
  // yet, the one edit that writes the whole new file's text in place of nothing.
  std::vector<TextEdit> edits;
  // The warnings about the admins added and changed, as the file then holds them.
  std::vector<std::string> warnings;
  std::optional<Failure> failure;
  // Whether the file is new, which is a change even when the roster is empty.
  bool createsFile = false;

  [[nodiscard]] bool changesFile() const {
    return createsFile || !added.empty() || !changed.empty() || !removed.empty() ||
           !groupsAdded.empty() || !groupsChanged.empty() || !groupsRemoved.empty();
  }
};

// A roster as --apply is given it: its admins, and its groups, each part only when the roster
// has it. A part it does not have leaves the file's as it is, also with prune.
struct GivenRoster {
  const PackedRoster& admins;
  bool hasAdmins = true;
  std::span<const RosterGroup> groups;
  bool hasGroups = false;
};

// The change that makes target (loaded from fileName; exists false for a new file) hold
// roster: an admin matched by key (letter case aside) is changed in place as --set
// changes one, a missing one is added at the end of "players" as --add adds one, and with prune the
// entries the roster does not name are taken out as --remove takes them out. Groups are held
// as the file spells them, or the roster's groups where the file lacks them; the roster's
// groups are made so as groupEdits makes them, and with prune the file's groups the roster
// does not name are taken out. No edits when the file already holds the roster; a failure when
// a group is not defined in the file nor the roster, a group to take out is still an admin's,
// or an entry is laid out in a way that cannot be changed safely.
RosterChange rosterChange(const LoadedClientsFile& target, const LetterCaseAsideIndex& keys,
                          std::string_view fileName, const GivenRoster& roster, bool prune);

}  // namespace velmora
