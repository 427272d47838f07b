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

// The texts an admin is typed with and the field the dialogue keeps each in; an identifier
// also names the identification method that writes it.
struct TypedField {
  std::optional<std::string> EntryValues::*member;
  TextField AdminRecord::*typed;
  IdMethod method;
};

inline constexpr TypedField kTypedFields[] = {
    {&EntryValues::name, &AdminRecord::name, {}},
    {&EntryValues::steamId, &AdminRecord::steamId, IdMethod::kBySteamId},
    {&EntryValues::ipAddress, &AdminRecord::ipAddress, IdMethod::kByIpAddress},
};

// Holds the text values has at member, if it is a typed one, as the dialogue holds what was
// typed: cut between characters to fit, with " and \ as look-alikes. typed keeps it as
// given, for the warnings, with the method of an identifier. Returns whether it was a text.
bool holdTypedText(EntryValues& values, std::optional<std::string> EntryValues::*member,
                   AdminRecord& typed);

// The entry the file writer makes of a typed admin.
EntryValues entryValuesOf(const AdminRecord& admin);

}  // namespace velmora
