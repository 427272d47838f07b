#include "app/set_up_mode.hpp"

#include <string>
#include <vector>

#include "app/diagnostics.hpp"
#include "clientfile/client_file.hpp"
#include "clientfile/clients_file_append.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/clients_file_reader.hpp"
#include "clientfile/key_values.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "roster/roster_check.hpp"

namespace velmora {
namespace {

struct Written {
  std::string failure;              // the line that tells the operator why not; empty when written
  std::vector<EntryFacts> earlier;  // the entries that were in the file already
  // Groups of the new entries that the existing file does not define.
  std::vector<FileFinding> undefinedGroups;
};

Written replace(const AdminRoster& roster, const std::filesystem::path& folder) {
  const Replacement replacement = writeClientsFile(roster, folder);
  return {replacement.failure ? describeFailure(replacement, kClientsFileName) : "", {}, {}};
}

// The file is read again now, so that what is added to is what is there at this moment.
Written add(const AdminRoster& roster, const std::filesystem::path& folder) {
  const LoadedClientsFile existing = readForAdding(folder / kClientsFileName, kClientsFileName);
  if (!existing.failure.empty()) {
    return {existing.failure, {}, {}};
  }
  if (!existing.exists) {
    return replace(roster, folder);
  }
  const std::string text = withEntriesAdded(existing, roster);
  const Replacement replacement = replaceFileContents(folder / kClientsFileName, text);
  return {replacement.failure ? describeFailure(replacement, kClientsFileName) : "",
          existing.file.entryFacts(),
          undefinedGroups(readClientsFile(keyvalues::parse(text)), existing.file.entries.size())};
}

}  // namespace

int setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors, SetUpMode mode,
                const std::filesystem::path& folder) {
  if (mode == SetUpMode::kAdd) {
    // A file that cannot be added to is said at once, before anything is typed for nothing.
    if (const std::string failure =
            readForAdding(folder / kClientsFileName, kClientsFileName).failure;
        !failure.empty()) {
      reportLine(errors, failure);
      return 1;
    }
  }
  AdminRoster roster;
  Console console(input, output);
  runDialogue(roster, console);

  Written written;
  if (roster.selectsAdmins()) {
    written = mode == SetUpMode::kAdd ? add(roster, folder) : replace(roster, folder);
  }
  // Below the closing lines and above the wait's prompt, where a console window shows them.
  output.flush();
  for (const std::string& warning : rosterWarnings(roster, written.earlier, console.strayTexts())) {
    reportLine(errors, warning);
  }
  for (const FileFinding& finding : written.undefinedGroups) {
    reportLine(errors, "velmora: warning: " + finding.message);
  }
  if (!written.failure.empty()) {
    reportLine(errors, written.failure);
    return 1;
  }
  return 0;
}

}  // namespace velmora
