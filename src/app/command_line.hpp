#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velmora {

// What the command line asks for. Without arguments it is the dialogue, as always.
struct CommandLine {
  enum class Action { kSetUp, kAdd, kCheck, kList, kRemove, kHelp, kVersion, kUsageError };

  Action action = Action::kSetUp;
  // For kHelp and kVersion, what goes to standard output; for kUsageError, the lines for
  // standard error.
  std::string message;
  // For kCheck, kList and kRemove, the file to read.
  std::string file = "clients.txt";
  // For kRemove, the name, STEAMID or IP address of the admins to take out.
  std::string adminName;
  // For kCheck and kList: answer in JSON instead of lines for people.
  bool json = false;
};

// arguments excludes the program's own name.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

}  // namespace velmora
