#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clientfile/clients_file.hpp"
#include "clientfile/roster_records.hpp"
#include "platform/result.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// The groups of a roster's admins as one file spells them, each looked up once: groups repeat
// from admin to admin, and most rosters spell them as the file does. A group the file does not
// define, but the roster's own groups do, is spelled as the roster spells it, as the roster
// adds it to the file.
class GroupSpeller {
 public:
  GroupSpeller(const ClientsFile& file, std::string_view fileName,
               std::span<const RosterGroup> rosterGroups)
      : file_(file), fileName_(fileName), rosterGroups_(rosterGroups) {}

  // admin's groups as the file spells them, or the refusal of one it does not define.
  std::optional<Failure> respell(EntryValues& admin);

 private:
  // Whether the file defines group under kind spelled as it is.
  [[nodiscard]] bool spelledAsDefined(std::string_view kind, std::string_view group) const;

  const ClientsFile& file_;
  std::string_view fileName_;
  std::span<const RosterGroup> rosterGroups_;
  std::vector<std::pair<std::string_view, std::string>> asDefined_;
};

}  // namespace velmora
