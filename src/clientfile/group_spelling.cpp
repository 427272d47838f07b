#include "clientfile/group_spelling.hpp"

#include <algorithm>

#include "clientfile/held_values.hpp"
#include "roster/file_value.hpp"

namespace velmora {

std::optional<Failure> GroupSpeller::respell(EntryValues& admin) {
  for (const EntryField& field : kEntryFields) {
    std::optional<std::string>& group = admin.*field.member;
    if (field.groupKind.empty() || !group) {
      continue;
    }
    const std::pair kindAndGroup(field.groupKind, *group);
    if (std::find(asDefined_.begin(), asDefined_.end(), kindAndGroup) != asDefined_.end()) {
      continue;
    }
    if (spelledAsDefined(field.groupKind, *group)) {
      asDefined_.push_back(kindAndGroup);
      continue;
    }
    if (const std::string held = fileValue(*group); !file_.defines(field.groupKind, held)) {
      if (const RosterGroup* given = rosterGroupNamed(rosterGroups_, field.groupKind, held)) {
        group = given->name;
        continue;
      }
    }
    Result<std::string> spelling = heldGroup(file_, fileName_, field.groupKind, *group);
    if (spelling.failed()) {
      return spelling.failure();
    }
    group = std::move(spelling.value());
  }
  return std::nullopt;
}

bool GroupSpeller::spelledAsDefined(std::string_view kind, std::string_view group) const {
  const GroupUse* defined = file_.definition(kind, group);
  return defined != nullptr && defined->group == group &&
         group.find_first_of("\"\\") == std::string_view::npos;
}

}  // namespace velmora
