#include "roster/entry_values.hpp"

#include <algorithm>

#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"

namespace velmora {
namespace {

// The name of the group a typed code chooses; nothing for a code that is not on the menu.
template <typename Lines>
std::optional<std::string> groupNamed(const Lines& lines, std::int32_t typed) {
  const auto* line = catalogue::lineFor(lines, typed);
  return line != nullptr ? std::optional(std::string(line->name)) : std::nullopt;
}

}  // namespace

bool holdTypedText(EntryValues& values, std::optional<std::string> EntryValues::*member,
                   AdminRecord& typed) {
  const auto* field = std::find_if(std::begin(kTypedFields), std::end(kTypedFields),
                                   [member](const TypedField& f) { return f.member == member; });
  if (field == std::end(kTypedFields)) {
    return false;
  }
  std::optional<std::string>& text = values.*member;
  if (text) {
    text = heldText(*text, typed.*field->typed);
    if (field->method != IdMethod{}) {
      typed.idMethod = static_cast<std::int32_t>(field->method);
    }
  }
  return true;
}

EntryValues entryValuesOf(const AdminRecord& admin) {
  EntryValues entry;
  entry.key = fileValue(admin.name.view());
  entry.name = entry.key;
  if (isCode(admin.idMethod, IdMethod::kBySteamId)) {
    entry.steamId = fileValue(admin.steamId.view());
  }
  if (isCode(admin.idMethod, IdMethod::kByIpAddress)) {
    entry.ipAddress = fileValue(admin.ipAddress.view());
  }
  // Only the group decides: an admin who declined immunity has the cleared group 0.
  entry.adminGroup = groupNamed(catalogue::kAdminGroupLines, admin.adminGroup);
  entry.immunityGroup = groupNamed(catalogue::kImmunityGroupLines, admin.immunityGroup);
  return entry;
}

}  // namespace velmora
