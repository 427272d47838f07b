#include "app/command_line.hpp"

#include <algorithm>
#include <optional>
#include <utility>

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
    "      --add                 add this run's admins to the existing clients.txt, keeping\n"
    "                            every byte of it, instead of replacing it\n"
    "      --check [FILE]        check FILE (clients.txt by default) for admins the server\n"
    "                            cannot use, and say where: FILE:LINE: problem; writes nothing\n"
    "      --list [FILE]         list the admins in FILE (clients.txt by default): name,\n"
    "                            STEAMID or IP address, admin group, immunity group\n"
    "      --remove NAME [FILE]  take every admin whose name, STEAMID or IP address is NAME\n"
    "                            (letter case aside; a Steam ID in any of its forms) out\n"
    "                            of FILE, keeping every other byte\n"
    "      --json                with --list or --check: answer in JSON, for scripts\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and licence and exit\n"
    "\n"
    "clients.txt is replaced all or nothing. When it cannot be written, the old file stays as\n"
    "it was, with its mode, owner and links, and no temporary file is left behind. Admins the\n"
    "server cannot use are named on standard error.\n"
    "\n"
    "Examples:\n"
    "  velmora < answers.txt       set up the admins answered in answers.txt\n"
    "  velmora --add               add admins to the server's existing clients.txt\n"
    "  velmora --check             check clients.txt in the current folder\n"
    "  velmora --list              show who is in clients.txt\n"
    "  velmora --check --json      the problems of clients.txt as JSON\n"
    "  velmora --remove Bob        take Bob out of clients.txt\n"
    "\n"
    "Exit status: 0 when clients.txt was written or nothing was to be written, 1 when it\n"
    "could not be written, 2 for an unrecognized option. With --check: 0 when the file is\n"
    "sound, 1 when it has problems, 2 when it cannot be read or parsed. With --list: 0, or 2\n"
    "when the file cannot be read or parsed. With --remove: 0 when admins were taken out, 1\n"
    "when none matches or the file cannot be read, parsed or written.\n";

constexpr std::string_view kCopyright =
    "Copyright (c) 2026 the velmora developers\n"
    "License: MIT. This is free software: you are free to change and redistribute it.\n";

// What an option takes after it: an admin's name (required), then a file (optional, and not
// taken when the next argument is an option). Either comes after '=' too: --check=FILE.
struct Option {
  std::string_view spelling;
  Action action;
  bool takesName = false;
  bool takesFile = false;
  bool asksForJson = false;  // changes how --list and --check answer, not what is done
};

constexpr Option kOptions[] = {
    {"--help", Action::kHelp},
    {"-h", Action::kHelp},
    {"--version", Action::kVersion},
    {"--add", Action::kAdd},
    {"--check", Action::kCheck, false, true},
    {"--list", Action::kList, false, true},
    {"--remove", Action::kRemove, true, true},
    {"--json", Action::kSetUp, false, false, true},
};

CommandLine usageError(const std::string& problem) {
  return {Action::kUsageError,
          "velmora: " + problem + "\nTry 'velmora --help' for more information.\n",
          {},
          {},
          false};
}

// The option an argument spells, with what follows its '=' when it has one.
const Option* optionSpelled(std::string_view argument, std::optional<std::string_view>& attached) {
  if (build::kTakesSlashQuestionMark && argument == "/?") {
    return &kOptions[0];
  }
  const std::size_t equals = argument.find('=');
  const std::string_view spelling = argument.substr(0, equals);
  const Option* option =
      std::find_if(std::begin(kOptions), std::end(kOptions),
                   [spelling](const Option& o) { return o.spelling == spelling; });
  if (option == std::end(kOptions) ||
      (equals != std::string_view::npos && !option->takesName && !option->takesFile)) {
    return nullptr;
  }
  if (equals != std::string_view::npos) {
    attached = argument.substr(equals + 1);
  }
  return option;
}

bool takesFile(Action action) {
  return std::any_of(std::begin(kOptions), std::end(kOptions),
                     [action](const Option& o) { return o.action == action && o.takesFile; });
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  CommandLine command;
  std::string_view chosen;
  bool fileGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    std::optional<std::string_view> attached;
    const Option* option = optionSpelled(argument, attached);
    // A FILE may also come after --json: velmora --list --json FILE.
    if (option == nullptr && !fileGiven && takesFile(command.action) &&
        !argument.starts_with('-')) {
      command.file = argument;
      fileGiven = true;
      continue;
    }
    if (option == nullptr) {
      return usageError("unrecognized option '" + std::string(argument) + "'");
    }
    if (option->asksForJson) {
      command.json = true;
      continue;
    }
    // Help and version act as soon as they are met, as GNU programs do.
    if (option->action == Action::kHelp) {
      return {Action::kHelp, std::string(kUsage), {}, {}, false};
    }
    if (option->action == Action::kVersion) {
      return {Action::kVersion,
              "velmora " + std::string(build::kVersion) + "\n" + std::string(kCopyright),
              {},
              {},
              false};
    }
    if (command.action != Action::kSetUp && command.action != option->action) {
      return usageError(std::string(chosen) + " and " + std::string(option->spelling) +
                        " cannot be used together");
    }
    command.action = option->action;
    chosen = option->spelling;
    const auto next = [&]() -> std::optional<std::string_view> {
      if (attached) {
        return std::exchange(attached, std::nullopt);
      }
      if (i + 1 < arguments.size()) {
        return arguments[++i];
      }
      return std::nullopt;
    };
    if (option->takesName) {
      const std::optional<std::string_view> name = next();
      if (!name || name->empty()) {
        return usageError("option '" + std::string(option->spelling) + "' needs an admin's name");
      }
      command.adminName = *name;
    }
    if (option->takesFile) {
      if (attached || (i + 1 < arguments.size() && !arguments[i + 1].starts_with('-'))) {
        command.file = *next();
        fileGiven = true;
      }
      if (command.file.empty()) {
        return usageError("option '" + std::string(option->spelling) + "=' needs a file name");
      }
    }
  }
  if (command.json && command.action != Action::kCheck && command.action != Action::kList) {
    return usageError("option '--json' goes with --list or --check only");
  }
  return command;
}

}  // namespace velmora
