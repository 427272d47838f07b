#pragma once

#include "dialogue/console.hpp"
#include "roster/admin_roster.hpp"

namespace velmora {

// Asks every question for the admin at position (1 to count) and fills that record.
void askAdmin(AdminRoster& roster, int position, int count, Console& console);

// Clears the roster, asks how many admins to set up, asks each of them in turn and prints
// the closing lines. Writing the file and the final wait are left to the caller.
void runDialogue(AdminRoster& roster, Console& console);

}  // namespace velmora
