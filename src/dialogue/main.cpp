#include <iostream>

#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
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
    if (const std::error_code failure = velmora::writeClientsFile(roster)) {
      std::cout.flush();
      std::cerr << "velmora: cannot write " << velmora::kClientsFileName << ": "
                << failure.message() << std::endl;
      status = 1;
    }
  }
  velmora::waitForKeyPress(std::cout);
  return status;
}
