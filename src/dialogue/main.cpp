#include <iostream>
#include <string_view>
#include <vector>

#include "clientfile/client_file.hpp"
#include "dialogue/command_line.hpp"
#include "dialogue/console.hpp"
#include "dialogue/diagnostics.hpp"
#include "dialogue/dialogue.hpp"
#include "dialogue/final_wait.hpp"
#include "roster/admin_roster.hpp"
#include "roster/roster_check.hpp"

namespace {

// The dialogue, the file and the wait: what the program does when started without options.
int setUpAdmins() {
  velmora::AdminRoster roster;
  velmora::Console console(*std::cin.rdbuf(), std::cout);
  velmora::runDialogue(roster, console);

  velmora::Replacement written;
  if (roster.selectsAdmins()) {
    written = velmora::writeClientsFile(roster);
  }
  // Below the closing lines and above the wait's prompt, where a console window shows them.
  std::cout.flush();
  for (const std::string& warning : velmora::rosterWarnings(roster)) {
    velmora::reportLine(std::cerr, warning);
  }
  if (written.failure) {
    velmora::reportLine(std::cerr, velmora::describeFailure(written, velmora::kClientsFileName));
  }
  velmora::waitForKeyPress(std::cout);
  return written.failure ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);

  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const velmora::CommandLine command = velmora::parseCommandLine(arguments);
  switch (command.action) {
    case velmora::CommandLine::Action::kHelp:
    case velmora::CommandLine::Action::kVersion:
      std::cout << command.message << std::flush;
      return 0;
    case velmora::CommandLine::Action::kUsageError:
      std::cerr.write(command.message.data(), static_cast<std::streamsize>(command.message.size()));
      std::cerr.flush();
      return velmora::kUsageErrorStatus;
    case velmora::CommandLine::Action::kSetUp:
      break;
  }
  return setUpAdmins();
}
