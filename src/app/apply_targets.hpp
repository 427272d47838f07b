#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_load.hpp"
#include "platform/result.hpp"
#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// An admin of a roster, its texts held as a value is held; typed keeps them as given, for the
// warnings.
struct RosterAdmin {
  EntryValues values;
  AdminRecord typed;
};

std::vector<RosterAdmin> heldRoster(std::span<const EntryValues> given);

// A file --apply is to change, as it is before the roster is applied; a file that does not
// exist is the empty file velmora would write.
struct Target {
  std::string name;
  std::filesystem::path path;
  std::optional<Failure> failure;
  bool exists = false;
  LoadedClientsFile loaded;
};

// The file named name, read and parsed, or why it cannot take a roster.
Target loadTarget(const std::string& name);

// target read again, as the file is now: what another program changed in it since it was
// loaded counts.
void reloadTarget(Target& target);

// The first roster problem no file can mend: two admins with one key, or a group that none of
// targets defines for its kind. rosterName is the roster as the operator knows it.
std::optional<Failure> rosterProblem(std::span<const RosterAdmin> roster,
                                     std::span<const Target> targets, std::string_view rosterName);

}  // namespace velmora
