#include "app/menu_changes.hpp"

#include <sstream>
#include <vector>

#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "clientfile/admin_changes.hpp"
#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/roster_apply.hpp"
#include "clientfile/unified_diff.hpp"
#include "roster/entry_wording.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/roster_warnings.hpp"
#include "roster/steam_id.hpp"
#include "text/filled.hpp"

namespace velmora {
namespace {

// Text of the file shown at the console: its own CR LF line ends as the console's, without
// line ends before or after it.
std::string forConsole(std::string_view text) {
  std::string shownText;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
      shownText += text[at];
    }
  }
  const std::size_t first = shownText.find_first_not_of('\n');
  const std::size_t last = shownText.find_last_not_of('\n');
  return first == std::string::npos ? std::string() : shownText.substr(first, last + 1 - first);
}

// The groups of kind the file defines, or that a new file will, in file order.
std::vector<std::string> groupsOf(const MenuSession& session, std::string_view kind) {
  return (session.loaded.exists ? session.loaded.file : newClientsFile().file).groupsDefined(kind);
}

// Asks the admin's identifier and groups after its name, into values; false at end of input.
bool askRest(MenuSession& session, EntryValues& values, bool isThere) {
  MenuQuestions& ask = session.questions;
  const MaybeText identifier = values.steamId ? values.steamId : values.ipAddress;
  // What the admin has now, when it is there: a value that may itself be none.
  const auto now = [isThere](const MaybeText& value) {
    return isThere ? std::optional<MaybeText>(value) : std::nullopt;
  };
  const std::optional<MaybeText> given = ask.identifier(now(identifier));
  if (!given) {
    return false;
  }
  const bool bySteamId = *given && steamAccountOf(**given);
  values.steamId = bySteamId ? *given : MaybeText{};
  values.ipAddress = bySteamId ? MaybeText{} : *given;
  for (const EntryField& field : kEntryFields) {
    if (field.groupKind.empty()) {
      continue;
    }
    MaybeText& group = values.*field.member;
    const std::optional<MaybeText> chosen =
        ask.group(field.groupKind, groupsOf(session, field.groupKind), now(group));
    if (!chosen) {
      return false;
    }
    group = *chosen;
  }
  return true;
}

// Makes the change once the operator confirms it, and says so; false at end of input.
bool confirmAndMake(MenuSession& session, std::string_view verb, const std::vector<TextEdit>& edits,
                    const std::string& done, const std::vector<std::string>& warnings) {
  const std::optional<bool> confirmed = session.questions.confirm(verb);
  if (!confirmed) {
    return false;
  }
  if (!*confirmed) {
    session.questions.say(menu::kCancelled);
    return true;
  }
  const std::optional<std::string> shown =
      session.loaded.exists ? std::optional(session.loaded.bytes) : std::nullopt;
  if (const Result<> written =
          changeFileAsShown(session.file, session.name, shown, edits, session.wait, session.errors);
      written.failed()) {
    reportFailure(session.errors, written.failure(), ExitStatus::kNotDone);
    return true;
  }
  session.questions.say(done + "\n");
  for (const std::string& warning : warnings) {
    reportLine(session.errors, warning);
  }
  return true;
}

// Which admin of the file the operator means, as --set finds one: none when the file has no
// admin to verb, which is said, or when input has ended, which ended says.
struct Which {
  std::optional<std::size_t> index;
  bool ended = false;
};
Which askWhich(MenuSession& session, std::string_view verb) {
  const ClientsFile& file = session.loaded.file;
  if (file.entries.empty()) {
    session.questions.say(filled("There is no admin to %s.\n", {verb}));
    return {};
  }
  const std::optional<std::size_t> index =
      session.questions.admin(file.entries.size(), [&](std::string_view wanted) -> AdminFound {
        const Result<std::size_t> match = onlyMatch(file, wanted, session.name);
        if (match.failed()) {
          return match.failure().line.substr(match.failure().line.find(": ") + 2);
        }
        return match.value();
      });
  return {index, !index};
}

}  // namespace

bool addAdminFromMenu(MenuSession& session) {
  const std::optional<std::string> name = session.questions.name(std::nullopt);
  if (!name) {
    return false;
  }
  EntryValues admin{*name, *name, {}, {}, {}, {}};
  if (!askRest(session, admin, false)) {
    return false;
  }
  AdminRecord typed;
  for (const EntryField& field : kEntryFields) {
    holdTypedText(admin, field, typed);
  }
  admin.key = *admin.name;
  const ClientsFile& file = session.loaded.file;
  const std::vector<EntryValues> added = {admin};
  const TextEdit edit = session.loaded.exists
                            ? entriesAdded(session.loaded, added)
                            : TextEdit{0, 0, clientsText(std::span<const EntryValues>(added))};
  session.questions.say(menu::kEntryToAdd);
  session.questions.say(
      forConsole(session.loaded.exists ? edit.replacement : clientEntriesText(added, "\n")) + "\n");
  const std::string label = adminLabel(file.entries.size(), admin.key);
  std::vector<std::string> warnings = typedTextWarnings(label, typed);
  const std::vector<std::string> found = addedEntryWarnings(file, added);
  warnings.insert(warnings.end(), found.begin(), found.end());
  return confirmAndMake(session, "add", {edit}, "added " + label + " to " + session.name, warnings);
}

bool changeAdminFromMenu(MenuSession& session) {
  const ClientsFile& file = session.loaded.file;
  const auto [index, ended] = askWhich(session, "change");
  if (!index) {
    return !ended;
  }
  const EntryValues before = file.valuesOf(*index);
  const std::optional<std::string> name = session.questions.name(before.name.value_or(before.key));
  EntryValues wanted = before;
  if (!name || !askRest(session, wanted, true)) {
    return false;
  }
  // What the operator changed is held as --set holds it, the key following the name.
  wanted.name = *name;
  std::vector<FieldSetting> settings;
  for (const EntryField& field : kEntryFields) {
    if (wanted.*field.member && wanted.*field.member != before.*field.member) {
      settings.push_back({field.name, *(wanted.*field.member)});
    }
  }
  AdminRecord typed;
  Result<EntryValues> after = valuesWith(file, session.name, *index, settings, typed);
  if (after.failed()) {
    reportFailure(session.errors, after.failure(), ExitStatus::kNotDone);
    return true;
  }
  for (const EntryField& field : kEntryFields) {
    if (!(wanted.*field.member)) {
      (after.value().*field.member).reset();
    }
  }
  const std::string label = adminLabel(*index, file.entries[*index].facts.name);
  if (after.value() == before) {
    session.questions.say(label + " in " + session.name + " is unchanged\n");
    return true;
  }
  const Result<std::vector<TextEdit>> edits =
      entryChange(session.loaded.bytes, file, session.name, *index, after.value());
  if (edits.failed()) {
    reportFailure(session.errors, edits.failure(), ExitStatus::kNotDone);
    return true;
  }
  std::ostringstream diff;
  writeUnifiedDiff(diff, session.loaded.bytes, edits.value(), session.name);
  session.questions.say(menu::kChangeToMake);
  session.questions.say(forConsole(diff.str()) + "\n");
  std::vector<std::string> warnings = typedTextWarnings(label, typed);
  const std::vector<std::string> found = changedEntryWarnings(file, *index, after.value());
  warnings.insert(warnings.end(), found.begin(), found.end());
  return confirmAndMake(
      session, "change", edits.value(),
      "changed " + label + " in " + session.name + ": " + changesBetween(before, after.value()),
      warnings);
}

bool removeAdminFromMenu(MenuSession& session) {
  const ClientsFile& file = session.loaded.file;
  const auto [index, ended] = askWhich(session, "remove");
  if (!index) {
    return !ended;
  }
  const std::string& text = session.loaded.bytes;
  const Removal taken = withoutEntries(text, file, {*index});
  const TextEdit& cut = taken.edits.front();
  session.questions.say(menu::kEntryToRemove);
  session.questions.say(forConsole(text.substr(cut.begin, cut.end - cut.begin)) + "\n");
  return confirmAndMake(
      session, "remove", taken.edits,
      "removed " + adminLabel(*index, file.entries[*index].facts.name) + " from " + session.name,
      {});
}

}  // namespace velmora
