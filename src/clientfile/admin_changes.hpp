#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file.hpp"
#include "clientfile/text_edits.hpp"
#include "platform/result.hpp"
#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"

// What a change of one admin, asked for by --set, --remove or the operator's menu, makes of a
// clients file: each mode asks in its own way, and all change an admin alike.
namespace velmora {

// The one entry of file that wanted names, as --remove finds admins (see entriesNamedBy), or
// why there is not one: no match, or several, each named with its line. fileName is the file
// as the operator knows it.
Result<std::size_t> onlyMatch(const ClientsFile& file, std::string_view wanted,
                              std::string_view fileName);

// What --remove, --set and the menu say when no admin matches wanted in the file.
Failure noMatchFailure(std::string_view wanted, std::string_view fileName);

// The values of entry index with settings made, each as a value of its field is held: a typed
// text as the dialogue holds it (typed keeps it as given, for the warnings), a group as the
// file spells it, or refused when the file does not define it; an empty group is none. The key
// follows the name where it was the name. The settings' values hold no control character.
Result<EntryValues> valuesWith(const ClientsFile& file, std::string_view fileName,
                               std::size_t index, std::span<const FieldSetting> settings,
                               AdminRecord& typed);

// What changed from before to after: "admin Clanmember -> Serveradmin, immunity - -> NoFun".
std::string changesBetween(const EntryValues& before, const EntryValues& after);

// The edits that make entry index of file (read from text) hold wanted, as entryEdits makes
// them, or why the entry cannot take them safely.
Result<std::vector<TextEdit>> entryChange(std::string_view text, const ClientsFile& file,
                                          std::string_view fileName, std::size_t index,
                                          const EntryValues& wanted);

// The warnings about entry index of file once it holds wanted, among the file's other entries.
std::vector<std::string> changedEntryWarnings(const ClientsFile& file, std::size_t index,
                                              const EntryValues& wanted);

// The warnings about entries added to file, numbered after the file's own.
std::vector<std::string> addedEntryWarnings(const ClientsFile& file,
                                            std::span<const EntryValues> added);

}  // namespace velmora
