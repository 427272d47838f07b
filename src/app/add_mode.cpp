#include "app/add_mode.hpp"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/after_dialogue.hpp"
#include "app/change_lock.hpp"
#include "app/diagnostics.hpp"
#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "platform/safe_replace.hpp"
#include "roster/roster_warnings.hpp"

namespace velmora {
namespace {

struct Added {
  Result<> written;
  std::vector<EntryFacts> earlier;           // the entries that were in the file already
  std::vector<std::string> undefinedGroups;  // groups of the new admins the file lacks
};

// The file is read again now, under its lock, so that what is added to is what is there at this
// moment and stays so until the file is replaced.
Added add(const AdminRoster& roster, const std::filesystem::path& folder, std::chrono::seconds wait,
          std::ostream& errors) {
  const Result<FileForChange> held = lockForChange(folder / kClientsFileName, kClientsFileName,
                                                   {.dryRun = false, .wait = wait}, errors);
  if (held.failed()) {
    return {held.failure(), {}, {}};
  }
  const std::filesystem::path& file = held.value().path;
  const Result<LoadedClientsFile> existing = readForAdding(file, kClientsFileName);
  if (existing.failed()) {
    return {existing.failure(), {}, {}};
  }
  const LoadedClientsFile& loaded = existing.value();
  if (!loaded.exists) {
    return {writeClientsFile(roster, file), {}, {}};
  }
  return {replaceFileContents(file, withEntriesAdded(loaded, roster), kClientsFileName),
          loaded.file.entryFacts(), undefinedGroupsOfAdded(loaded.file, roster)};
}

}  // namespace

ExitStatus addAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                     std::chrono::seconds wait, const std::filesystem::path& folder) {
  if (const Result<LoadedClientsFile> existing =
          readForAdding(folder / kClientsFileName, kClientsFileName);
      existing.failed()) {
    return reportFailure(errors, existing.failure(), ExitStatus::kNotDone);
  }
  AdminRoster roster;
  Console console(input, output);
  runDialogue(roster, console);
  Added added;
  if (roster.selectsAdmins()) {
    added = add(roster, folder, wait, errors);
  }
  std::vector<std::string> warnings = rosterWarnings(roster, added.earlier, console.strayTexts());
  std::transform(
      added.undefinedGroups.begin(), added.undefinedGroups.end(), std::back_inserter(warnings),
      [](const std::string& message) { return std::string(kWarningPrefix).append(message); });
  return reportAfterDialogue(output, errors, warnings, added.written);
}

}  // namespace velmora
