#include "app/set_up_mode.hpp"

#include <string>
#include <vector>

#include "app/after_dialogue.hpp"
#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "roster/roster_warnings.hpp"

namespace velmora {

ExitStatus setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors,
                       const std::filesystem::path& folder) {
  AdminRoster roster;
  Console console(input, output);
  runDialogue(roster, console);
  const Result<> written = roster.selectsAdmins() ? writeClientsFile(roster, folder) : Result<>{};
  const std::vector<std::string> warnings = rosterWarnings(roster, {}, console.strayTexts());
  return reportAfterDialogue(output, errors, warnings, written);
}

}  // namespace velmora
