#pragma once

#include <functional>
#include <istream>
#include <string_view>
#include <vector>

#include "clientfile/roster_records.hpp"
#include "platform/result.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// What a roster holds besides the admins it hands over one by one: its groups, and which of
// the two parts it has at all. An array of admins has admins and no groups.
struct RosterParts {
  bool hasAdmins = false;
  bool hasGroups = false;
  std::vector<RosterGroup> groups;
};

// Reads a roster: a JSON array of admins as --list --json prints it, or an object with
// "admins", such an array, and "groups", an array of groups as --groups --json prints it, or
// either. Each admin goes to take as it is read, until one is refused. An admin has key, name,
// steam, ip, admin and immunity, each a text or null; line and account are allowed and
// ignored. key defaults to name and name, when absent, to key; a null name, STEAMID, IP
// address or group is one the entry does not have. Values are as given, not yet held to the
// rules of a value. What is not such a roster is refused with the reason: text that is not
// JSON (with its line and column), a member of the wrong type or unknown (a typo must not be
// dropped in silence), an admin without key and name or with both a STEAMID and an IP
// address, a line end or another control character in a value, a group refused as
// GroupReading refuses one, and two groups of one kind and name. rosterName is the roster as
// the operator knows it.
using TakeAdmin = std::function<void(EntryValues&& admin)>;
Result<RosterParts> readRoster(std::istream& text, std::string_view rosterName,
                               const TakeAdmin& take);

}  // namespace velmora
