#include "app/set_up_mode.hpp"

#include <string>
#include <vector>

#include "app/after_dialogue.hpp"
#include "app/change_lock.hpp"
#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "roster/roster_warnings.hpp"

namespace velmora {

namespace {

Result<> writeLocked(const AdminRoster& roster, const std::filesystem::path& folder,
                     std::chrono::seconds wait, std::ostream& errors) {
  const Result<FileForChange> held = lockForChange(folder / kClientsFileName, kClientsFileName,
                                                   {.dryRun = false, .wait = wait}, errors);
  if (held.failed()) {
    return held.failure();
  }
  return writeClientsFile(roster, held.value().path);
}

}  // namespace

ExitStatus setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                       std::chrono::seconds wait, const std::filesystem::path& folder) {
  AdminRoster roster;
  Console console(input, output);
  runDialogue(roster, console);
  const Result<> written =
      roster.selectsAdmins() ? writeLocked(roster, folder, wait, errors) : Result<>{};
  const std::vector<std::string> warnings = rosterWarnings(roster, {}, console.strayTexts());
  return reportAfterDialogue(output, errors, warnings, written);
}

}  // namespace velmora
