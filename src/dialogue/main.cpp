#include <iostream>
#include <string_view>
#include <vector>

#include "dialogue/command_line.hpp"
#include "dialogue/final_wait.hpp"
#include "dialogue/run_modes.hpp"

int main(int argc, char* argv[]) {
  // Lets the answer reader take whole lines from standard input instead of single characters.
  std::ios_base::sync_with_stdio(false);

  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const velmora::CommandLine command = velmora::parseCommandLine(arguments);
  using Action = velmora::CommandLine::Action;
  switch (command.action) {
    case Action::kHelp:
    case Action::kVersion:
      std::cout << command.message << std::flush;
      return 0;
    case Action::kUsageError:
      std::cerr.write(command.message.data(), static_cast<std::streamsize>(command.message.size()));
      std::cerr.flush();
      return velmora::kUsageErrorStatus;
    case Action::kCheck:
      return velmora::checkClientsFile(command.checkedFile, std::cout, std::cerr);
    case Action::kSetUp:
    case Action::kAdd:
      break;
  }
  const int status = velmora::setUpAdmins(
      *std::cin.rdbuf(), std::cout, std::cerr,
      command.action == Action::kAdd ? velmora::SetUpMode::kAdd : velmora::SetUpMode::kReplace);
  velmora::waitForKeyPress(std::cout);
  return status;
}
