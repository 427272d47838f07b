#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "clientfile/clients_file_load.hpp"
#include "clientfile/roster_apply.hpp"
#include "platform/result.hpp"
#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"
#include "roster/packed_roster.hpp"
#include "text/letter_case_index.hpp"

namespace velmora {

// The admins of a roster, their texts held as a value is held; typed keeps, for the warnings,
// the texts as given of each admin whose texts change when held, by the admin's index.
struct HeldRoster {
  PackedRoster admins;
  std::vector<std::pair<std::size_t, AdminRecord>> typed;

  // Holds the texts of the next admin of the roster, and keeps it.
  void hold(EntryValues&& admin);
};

// A file --apply is to change, as it is before the roster is applied; a file that does not
// exist is the empty file velmora would write.
struct Target {
  std::string name;
  std::filesystem::path path;
  std::optional<Failure> failure;
  bool exists = false;
  LoadedClientsFile loaded;
  // Its entries by key, which views loaded's entries: a Target is moved, never copied.
  LetterCaseAsideIndex keys;
};
static_assert(std::is_nothrow_move_constructible_v<Target>);

// The files named names, each read and parsed, or why it cannot take a roster.
std::vector<Target> loadTargets(std::span<const std::string> names);

// target as the file is now at locked, the path its lock was taken for: what another program
// changed in it since it was loaded counts.
void reloadTarget(Target& target, const std::filesystem::path& locked);

// The first roster problem no file can mend: two admins with one key, letter case aside, or a
// group of an admin that neither the roster's groups nor any of targets that could be read
// defines for its kind (with no such file, each file names its own failure instead).
// rosterName is the roster as the operator knows it.
std::optional<Failure> rosterProblem(const GivenRoster& given, std::span<const Target> targets,
                                     std::string_view rosterName);

}  // namespace velmora
