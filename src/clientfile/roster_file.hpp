#pragma once

#include <string_view>
#include <vector>

#include "platform/result.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// The admins of a roster in the form --list --json prints: a JSON array of objects with key,
// name, steam, ip, admin and immunity, each a text or null; line and account are allowed and
// ignored. key defaults to name and name, when absent, to key; a null name, STEAMID, IP
// address or group is one the entry does not have. Values are as given, not yet held to the
// rules of a value. What is not such a roster is refused with the reason: text that is not
// JSON (with its line and column), a member of the wrong type or unknown (a typo must not be
// dropped in silence), an admin without key and name or with both a STEAMID and an IP
// address, and a line end or another control character in a value. rosterName is the roster
// as the operator knows it.
Result<std::vector<EntryValues>> readRoster(std::string_view text, std::string_view rosterName);

}  // namespace velmora
