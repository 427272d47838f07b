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

const EntryField* entryFieldNamed(std::string_view name) {
  const auto* field = std::find_if(std::begin(kEntryFields), std::end(kEntryFields),
                                   [name](const EntryField& f) { return f.name == name; });
  return field != std::end(kEntryFields) ? field : nullptr;
}

bool holdTypedText(EntryValues& values, const EntryField& field, AdminRecord& typed) {
  if (field.typed == nullptr) {
    return false;
  }
  std::optional<std::string>& text = values.*field.member;
  if (text) {
    text = heldText(*text, typed.*field.typed);
    if (field.method != IdMethod{}) {
      typed.idMethod = static_cast<std::int32_t>(field.method);
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
