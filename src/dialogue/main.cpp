#include <iostream>

#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/diagnostics.hpp"
#include "dialogue/dialogue.hpp"
#include "dialogue/final_wait.hpp"
#include "roster/admin_roster.hpp"

int main() {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);

  velmora::AdminRoster roster;
  velmora::Console console(*std::cin.rdbuf(), std::cout);
  velmora::runDialogue(roster, console);

  int status = 0;
  if (roster.selectsAdmins()) {
    if (const velmora::Replacement written = velmora::writeClientsFile(roster); written.failure) {
      std::cout.flush();
      velmora::reportLine(std::cerr, velmora::describeFailure(written, velmora::kClientsFileName));
      status = 1;
    }
  }
  velmora::waitForKeyPress(std::cout);
  return status;
}
