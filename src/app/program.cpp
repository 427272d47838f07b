#include "app/program.hpp"

#include <iostream>

#include "app/check_mode.hpp"
#include "app/command_line.hpp"
#include "app/console_streams.hpp"
#include "app/final_wait.hpp"
#include "app/list_mode.hpp"
#include "app/remove_mode.hpp"
#include "app/set_up_mode.hpp"
#include "clientfile/path_text.hpp"

namespace velmora {

int runProgram(std::span<const std::string_view> arguments) {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);

  const CommandLine command = parseCommandLine(arguments);
  using Action = CommandLine::Action;
  switch (command.action) {
    case Action::kHelp:
    case Action::kVersion:
      std::cout << command.message << std::flush;
      return 0;
    case Action::kUsageError: {
      std::ostream& errors = console::textErrors();
      errors.write(command.message.data(), static_cast<std::streamsize>(command.message.size()));
      errors.flush();
      return kUsageErrorStatus;
    }
    case Action::kCheck:
      return checkClientsFile(pathFromText(command.file), console::textOutput(),
                              console::textErrors());
    case Action::kList:
      return listAdmins(pathFromText(command.file), console::textOutput(), console::textErrors());
    case Action::kRemove:
      return removeAdmins(command.adminName, pathFromText(command.file), console::textOutput(),
                          console::textErrors());
    case Action::kSetUp:
    case Action::kAdd:
      break;
  }
  const int status =
      setUpAdmins(console::input(), std::cout, console::textErrors(),
                  command.action == Action::kAdd ? SetUpMode::kAdd : SetUpMode::kReplace);
  waitForKeyPress(std::cout);
  return status;
}

}  // namespace velmora
