#include "dialogue/command_line.hpp"

#include <algorithm>

#include "dialogue/build_info.hpp"

namespace velmora {
namespace {

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
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and licence and exit\n"
    "\n"
    "clients.txt is replaced all or nothing. When it cannot be written, the old file stays as\n"
    "it was, with its mode, owner and links, and no temporary file is left behind. Admins the\n"
    "server cannot use are named on standard error.\n"
    "\n"
    "Exit status: 0 when clients.txt was written or nothing was to be written, 1 when it\n"
    "could not be written, 2 for an unrecognized option.\n";

constexpr std::string_view kCopyright =
    "Copyright (c) 2026 the velmora developers\n"
    "License: MIT. This is free software: you are free to change and redistribute it.\n";

struct Option {
  std::string_view spelling;
  CommandLine::Action action;
};

constexpr Option kOptions[] = {
    {"--help", CommandLine::Action::kHelp},
    {"-h", CommandLine::Action::kHelp},
    {"--version", CommandLine::Action::kVersion},
};

CommandLine commandFor(CommandLine::Action action) {
  switch (action) {
    case CommandLine::Action::kHelp:
      return {action, std::string(kUsage)};
    case CommandLine::Action::kVersion:
      return {action, "velmora " + std::string(build::kVersion) + "\n" + std::string(kCopyright)};
    default:
      return {action, {}};
  }
}

CommandLine unrecognized(std::string_view argument) {
  return {CommandLine::Action::kUsageError, "velmora: unrecognized option '" +
                                                std::string(argument) +
                                                "'\nTry 'velmora --help' for more information.\n"};
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  if (arguments.empty()) {
    return {};
  }
  // The first argument decides, as help and version act as soon as they are met.
  const std::string_view argument = arguments.front();
  if (build::kTakesSlashQuestionMark && argument == "/?") {
    return commandFor(CommandLine::Action::kHelp);
  }
  const Option* option =
      std::find_if(std::begin(kOptions), std::end(kOptions),
                   [argument](const Option& o) { return o.spelling == argument; });
  return option == std::end(kOptions) ? unrecognized(argument) : commandFor(option->action);
}

}  // namespace velmora
