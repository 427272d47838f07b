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
// the key it stands under in a "groups" block; a text is typed, and names the field the
// dialogue keeps it in and, for an identifier, the identification method that writes it.
struct EntryField {
  std::string_view name;
  std::optional<std::string> EntryValues::*member;
  std::string_view groupKind;
  TextField AdminRecord::*typed;
  IdMethod method;
};

inline constexpr EntryField kEntryFields[] = {
    {fields::kName, &EntryValues::name, {}, &AdminRecord::name, {}},
    {fields::kSteam, &EntryValues::steamId, {}, &AdminRecord::steamId, IdMethod::kBySteamId},
    {fields::kIp, &EntryValues::ipAddress, {}, &AdminRecord::ipAddress, IdMethod::kByIpAddress},
    {fields::kAdmin, &EntryValues::adminGroup, catalogue::kAdminKind, nullptr, {}},
    {fields::kImmunity, &EntryValues::immunityGroup, catalogue::kImmunityKind, nullptr, {}},
};

// A value set for an admin by a field's name, such as admin=Serveradmin on the command line:
// the field (name, steam, ip, admin, immunity) and what it is to be; an empty value takes a
// group away.
struct FieldSetting {
  std::string_view field;
  std::string value;
};

// The field of that name; null for any other name.
const EntryField* entryFieldNamed(std::string_view name);

// Holds the text values has in field, if it is a typed one, as the dialogue holds what was
// typed: cut between characters to fit, with " and \ as look-alikes. typed keeps it as
// given, for the warnings, with the method of an identifier. Returns whether it was a text.
bool holdTypedText(EntryValues& values, const EntryField& field, AdminRecord& typed);

// The entry the file writer makes of a typed admin.
EntryValues entryValuesOf(const AdminRecord& admin);

}  // namespace velmora
