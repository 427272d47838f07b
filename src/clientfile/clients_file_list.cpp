#include "clientfile/clients_file_list.hpp"

#include <algorithm>
#include <iterator>

#include "clientfile/defined_groups.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/steam_id.hpp"
#include "text/columns.hpp"
#include "text/json_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

using Row = std::vector<std::string>;

constexpr std::string_view kNone = "-";

// An empty text is shown as "" so that it cannot be taken for a missing one.
std::string cell(std::string_view text) { return text.empty() ? "\"\"" : shown(text); }
std::string optionalCell(const std::optional<std::string>& text) {
  return text ? cell(*text) : std::string(kNone);
}
std::string groupCell(const ClientsFile& file, std::size_t index, std::string_view kind) {
  const GroupUse* use = file.groupOf(index, kind);
  return use != nullptr ? cell(use->group) : std::string(kNone);
}

// The admin's name: its "name" value, with its key where the two differ; the key alone for
// an entry without a name, which the server then knows by its key.
std::string nameCell(const ClientEntry& entry) {
  if (!entry.realName || *entry.realName == entry.facts.name) {
    return cell(entry.facts.name);
  }
  return cell(*entry.realName) + " (key " + cell(entry.facts.name) + ")";
}

Row rowOf(const ClientsFile& file, std::size_t index) {
  const ClientEntry& entry = file.entries[index];
  const std::optional<std::string>& identifier =
      entry.facts.steamId ? entry.facts.steamId : entry.facts.ipAddress;
  return {std::to_string(index + 1), nameCell(entry), optionalCell(identifier),
          groupCell(file, index, catalogue::kAdminKind),
          groupCell(file, index, catalogue::kImmunityKind)};
}

Json jsonOrNull(const std::optional<std::string>& text) {
  return text ? Json(*text) : Json(nullptr);
}

Json jsonGroup(const ClientsFile& file, std::size_t index, std::string_view kind) {
  const GroupUse* use = file.groupOf(index, kind);
  return use != nullptr ? Json(use->group) : Json(nullptr);
}

// Sets the members of object to what entry index holds. One object serves every admin: once it
// has its members, setting them again allocates nothing for the names, and they keep their
// order.
void setJsonMembers(Json& object, const ClientsFile& file, std::size_t index) {
  const ClientEntry& entry = file.entries[index];
  const std::optional<SteamAccount> account =
      entry.facts.steamId ? steamAccountOf(*entry.facts.steamId) : std::nullopt;
  object["line"] = entry.line;
  object[fields::kKey] = entry.facts.name;
  object[fields::kName] = jsonOrNull(entry.realName);
  object[fields::kSteam] = jsonOrNull(entry.facts.steamId);
  object[fields::kIp] = jsonOrNull(entry.facts.ipAddress);
  object[fields::kAdmin] = jsonGroup(file, index, catalogue::kAdminKind);
  object[fields::kImmunity] = jsonGroup(file, index, catalogue::kImmunityKind);
  object["account"] = account ? Json(account->steamId()) : Json(nullptr);
}

Json groupJson(const DefinedGroup& group) {
  Json object = Json::object();
  object["kind"] = group.kind;
  object["name"] = group.name;
  object["flags"] = group.flagText();
  object["line"] = group.line;
  return object;
}

}  // namespace

// The array is written one admin at a time, as the library writes an array on one line: a
// file of many admins need not be held as library objects all at once.
void writeAdminListJson(std::ostream& output, const ClientsFile& file) {
  output << '[';
  Json object = Json::object();
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    if (index > 0) {
      output << ',';
    }
    setJsonMembers(object, file, index);
    output << jsonText(object);
  }
  output << ']';
}

std::vector<std::string> adminTable(const ClientsFile& file) {
  std::vector<Row> rows = {{"#", "name", "STEAMID or IP address", "admin group", "immunity group"}};
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    rows.push_back(rowOf(file, index));
  }
  return alignedColumns(rows);
}

std::vector<std::string> groupTable(const ClientsFile& file) {
  std::vector<Row> rows = {{"#", "kind", "name", "admins", "flags"}};
  const std::vector<DefinedGroup> groups = definedGroupsOf(file);
  std::size_t number = 0;
  std::transform(groups.begin(), groups.end(), std::back_inserter(rows),
                 [&file, &number](const DefinedGroup& group) {
                   return Row{std::to_string(++number), std::string(group.kind), cell(group.name),
                              std::to_string(adminsUsing(file, group.kind, group.name)),
                              cell(group.flagText())};
                 });
  return alignedColumns(rows);
}

void writeGroupListJson(std::ostream& output, const ClientsFile& file) {
  const std::vector<DefinedGroup> groups = definedGroupsOf(file);
  Json json = Json::array();
  std::transform(groups.begin(), groups.end(), std::back_inserter(json), groupJson);
  output << jsonText(json);
}

}  // namespace velmora
