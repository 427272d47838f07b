#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "roster/admin_roster.hpp"
#include "roster/group_catalogue.hpp"

namespace velmora {

// The names of an entry's values: the keys of the file, and the members of --list --json and
// of a roster, so that people and scripts share one vocabulary.
namespace fields {
inline constexpr std::string_view kKey = "key";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kSteam = "steam";
inline constexpr std::string_view kIp = "ip";
inline constexpr std::string_view kAdmin = "admin";
inline constexpr std::string_view kImmunity = "immunity";
}  // namespace fields

// One admin as a client entry holds it: its key, and each value it has, as the file holds it.
struct EntryValues {
  std::string key;
  std::optional<std::string> name;
  std::optional<std::string> steamId;
  std::optional<std::string> ipAddress;
  std::optional<std::string> adminGroup;
  std::optional<std::string> immunityGroup;

  bool operator==(const EntryValues&) const = default;
};

// The values an operator sets by name: every value of an entry but its key. A group names
// the key it stands under in a "groups" block; a text has none.
struct EntryField {
  std::string_view name;
  std::optional<std::string> EntryValues::*member;
  std::string_view groupKind;
};

inline constexpr EntryField kEntryFields[] = {
    {fields::kName, &EntryValues::name, {}},
    {fields::kSteam, &EntryValues::steamId, {}},
    {fields::kIp, &EntryValues::ipAddress, {}},
    {fields::kAdmin, &EntryValues::adminGroup, catalogue::kAdminKind},
    {fields::kImmunity, &EntryValues::immunityGroup, catalogue::kImmunityKind},
};

// The entry the file writer makes of a typed admin.
EntryValues entryValuesOf(const AdminRecord& admin);

}  // namespace velmora
