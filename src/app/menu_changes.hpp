#pragma once

#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>

#include "clientfile/clients_file_load.hpp"
#include "dialogue/menu_questions.hpp"

namespace velmora {

// The menu's file as the operator was last shown it, and where the menu's answers come from.
struct MenuSession {
  std::filesystem::path file;
  std::string name;          // the file as the operator knows it
  LoadedClientsFile loaded;  // exists is false while there is no file
  MenuQuestions& questions;
  std::ostream& errors;
  std::chrono::seconds wait;
};

// The menu's three changes: each asks its questions in their order, shows what it would do,
// and does it once the operator confirms. Each gives false once input has ended, which ends
// the run.
bool addAdminFromMenu(MenuSession& session);
bool changeAdminFromMenu(MenuSession& session);
bool removeAdminFromMenu(MenuSession& session);

}  // namespace velmora
