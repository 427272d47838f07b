#include "app/program.hpp"

#include <iostream>

#include "app/add_mode.hpp"
#include "app/apply_mode.hpp"
#include "app/check_mode.hpp"
#include "app/command_line.hpp"
#include "app/exit_status.hpp"
#include "app/export_mode.hpp"
#include "app/groups_mode.hpp"
#include "app/list_mode.hpp"
#include "app/menu_mode.hpp"
#include "app/remove_mode.hpp"
#include "app/set_mode.hpp"
#include "app/set_up_mode.hpp"
#include "platform/console_streams.hpp"
#include "platform/final_wait.hpp"
#include "text/path_text.hpp"

namespace velmora {
namespace {

AnswerForm formOf(const CommandLine& command) {
  return command.json ? AnswerForm::kJson : AnswerForm::kLines;
}

ChangeOptions changeOptions(const CommandLine& command) {
  return {.dryRun = command.dryRun, .wait = command.wait};
}

// A diff shows the file's own bytes; without one, standard output is left as it is.
std::ostream& diffOutput(const CommandLine& command) {
  return command.dryRun ? console::byteOutput() : console::textOutput();
}

ExitStatus run(const CommandLine& command) {
  using Action = CommandLine::Action;
  switch (command.action) {
    case Action::kHelp:
    case Action::kVersion:
      std::cout << command.message << std::flush;
      return ExitStatus::kDone;
    case Action::kUsageError: {
      std::ostream& errors = console::textErrors();
      errors.write(command.message.data(), static_cast<std::streamsize>(command.message.size()));
      errors.flush();
      return ExitStatus::kUsageError;
    }
    case Action::kCheck:
      return checkClientsFile(pathFromText(command.file), formOf(command), console::textOutput(),
                              console::textErrors());
    case Action::kList:
      return listAdmins(pathFromText(command.file), formOf(command), console::textOutput(),
                        console::textErrors());
    case Action::kGroups:
      return listGroups(pathFromText(command.file), formOf(command), console::textOutput(),
                        console::textErrors());
    case Action::kExport:
      return exportRoster(pathFromText(command.file), console::textOutput(), console::textErrors());
    case Action::kRemove:
      return removeAdmins(command.adminName, pathFromText(command.file), changeOptions(command),
                          console::textOutput(), diffOutput(command), console::textErrors());
    case Action::kSet:
      return setAdmin(command.adminName, command.fields, pathFromText(command.file),
                      changeOptions(command), console::textOutput(), diffOutput(command),
                      console::textErrors());
    case Action::kApply:
      return applyRoster(
          {command.roster, command.files, command.prune, changeOptions(command), formOf(command)},
          console::input(), console::textOutput(), diffOutput(command), console::textErrors());
    case Action::kMenu:
      return runMenu(pathFromText(command.file), console::input(), console::textOutput(),
                     console::textErrors(), command.wait);
    case Action::kSetUp:
    case Action::kAdd:
      break;
  }
  const ExitStatus status =
      command.action == Action::kAdd
          ? addAdmins(console::input(), std::cout, console::textErrors(), command.wait)
          : setUpAdmins(console::input(), std::cout, console::textErrors(), command.wait);
  waitForKeyPress(std::cout);
  return status;
}

}  // namespace

int runProgram(std::span<const std::string_view> arguments) {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);
  return static_cast<int>(run(parseCommandLine(arguments)));
}

}  // namespace velmora
