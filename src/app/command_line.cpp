#include "app/command_line.hpp"

#include <algorithm>

#include "app/build_info.hpp"

namespace velmora {
namespace {

using Action = CommandLine::Action;

constexpr std::string_view kUsage =
    "Usage: velmora [OPTION]\n"
    "Set up the admins of a game server. velmora asks how many admins (1 to 10) to set up,\n"
    "then each admin's name, STEAMID or IP address, admin group and immunity group, and\n"
    "writes clients.txt, the file the server's admin plug-in reads, in the current folder.\n"
    "\n"
    "Answers are read from standard input, so they may come from a file. A number answer is\n"
    "read up to its first non-digit; a text answer is one word. A number of admins outside\n"
    "1 to 10 sets up nobody and leaves clients.txt as it was.\n"
    "\n"
    "      --add           add this run's admins to the existing clients.txt, keeping every\n"
    "                      byte of it, instead of replacing it\n"
    "      --check [FILE]  check FILE (clients.txt by default) for admins the server cannot\n"
    "                      use, and say where: FILE:LINE: problem; writes nothing\n"
    "  -h, --help          show this help and exit\n"
    "      --version       show the version and licence and exit\n"
    "\n"
    "clients.txt is replaced all or nothing. When it cannot be written, the old file stays as\n"
    "it was, with its mode, owner and links, and no temporary file is left behind. Admins the\n"
    "server cannot use are named on standard error.\n"
    "\n"
    "Examples:\n"
    "  velmora < answers.txt       set up the admins answered in answers.txt\n"
    "  velmora --add               add admins to the server's existing clients.txt\n"
    "  velmora --check             check clients.txt in the current folder\n"
    "\n"
    "Exit status: 0 when clients.txt was written or nothing was to be written, 1 when it\n"
    "could not be written, 2 for an unrecognized option. With --check: 0 when the file is\n"
    "sound, 1 when it has problems, 2 when it cannot be read or parsed.\n";

constexpr std::string_view kCopyright =
    "Copyright (c) 2026 the velmora developers\n"
    "License: MIT. This is free software: you are free to change and redistribute it.\n";

constexpr std::string_view kCheckOption = "--check";

struct Option {
  std::string_view spelling;
  Action action;
};

constexpr Option kOptions[] = {
    {"--help", Action::kHelp}, {"-h", Action::kHelp},          {"--version", Action::kVersion},
    {"--add", Action::kAdd},   {kCheckOption, Action::kCheck},
};

CommandLine usageError(const std::string& problem) {
  return {Action::kUsageError,
          "velmora: " + problem + "\nTry 'velmora --help' for more information.\n"};
}

const Option* optionSpelled(std::string_view argument) {
  if (build::kTakesSlashQuestionMark && argument == "/?") {
    return &kOptions[0];
  }
  // "--check=FILE" is --check with its file.
  if (argument.starts_with(kCheckOption) && argument.substr(kCheckOption.size()).starts_with('=')) {
    argument = kCheckOption;
  }
  const Option* option =
      std::find_if(std::begin(kOptions), std::end(kOptions),
                   [argument](const Option& o) { return o.spelling == argument; });
  return option == std::end(kOptions) ? nullptr : option;
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  CommandLine command;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const Option* option = optionSpelled(argument);
    if (option == nullptr) {
      return usageError("unrecognized option '" + std::string(argument) + "'");
    }
    // Help and version act as soon as they are met, as GNU programs do.
    if (option->action == Action::kHelp) {
      return {Action::kHelp, std::string(kUsage)};
    }
    if (option->action == Action::kVersion) {
      return {Action::kVersion,
              "velmora " + std::string(build::kVersion) + "\n" + std::string(kCopyright)};
    }
    if (command.action != Action::kSetUp && command.action != option->action) {
      return usageError("--add and --check cannot be used together");
    }
    command.action = option->action;
    if (option->action == Action::kCheck) {
      if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
        command.checkedFile = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with('-')) {
        command.checkedFile = arguments[++i];
      }
      if (command.checkedFile.empty()) {
        return usageError("option '--check=' needs a file name");
      }
    }
  }
  return command;
}

}  // namespace velmora
