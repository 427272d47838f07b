#pragma once

#include <functional>
#include <istream>
#include <string_view>

#include "platform/result.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// Reads the admins of a roster in the form --list --json prints, handing each to take as it is
// read: a JSON array of objects with key,
// name, steam, ip, admin and immunity, each a text or null; line and account are allowed and
// ignored. key defaults to name and name, when absent, to key; a null name, STEAMID, IP
// address or group is one the entry does not have. Values are as given, not yet held to the
// rules of a value. What is not such a roster is refused with the reason: text that is not
// JSON (with its line and column), a member of the wrong type or unknown (a typo must not be
// dropped in silence), an admin without key and name or with both a STEAMID and an IP
// address, and a line end or another control character in a value. rosterName is the roster
// as the operator knows it.
// Each admin goes to take as it is read, until one is refused.
using TakeAdmin = std::function<void(EntryValues&& admin)>;
Result<> readRoster(std::istream& text, std::string_view rosterName, const TakeAdmin& take);

}  // namespace velmora
