#include <iostream>

#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/diagnostics.hpp"
#include "dialogue/dialogue.hpp"
#include "dialogue/final_wait.hpp"
#include "roster/admin_roster.hpp"
#include "roster/roster_check.hpp"

int main() {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);

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
