#include "app/command_line.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "app/build_info.hpp"
#include "roster/entry_values.hpp"

namespace velmora {
namespace {

using Action = CommandLine::Action;

constexpr std::string_view kDefaultFile = "clients.txt";

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
    "      --set NAME FIELD=VALUE... [FILE]\n"
    "                            change the one admin NAME finds (as --remove finds it):\n"
    "                            name=, steam=, ip=, admin=, immunity= (empty: none);\n"
    "                            a group must be one that FILE's groups section defines\n"
    "      --apply ROSTER [FILE...]\n"
    "                            make each FILE hold the admins of ROSTER (JSON, as\n"
    "                            --list --json prints it; - for standard input), changing\n"
    "                            only what differs; a second run changes nothing\n"
    "      --prune               with --apply: also take out the admins ROSTER does not name\n"
    "      --dry-run             with --set, --remove or --apply: show the change as a\n"
    "                            unified diff and write nothing\n"
    "      --json                with --list, --check or --apply: answer in JSON, for scripts\n"
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
    "  velmora --set Bob admin=Serveradmin immunity=NoFun --dry-run\n"
    "                              show how Bob's groups would change, and change nothing\n"
    "  velmora --apply roster.json server1/clients.txt server2/clients.txt\n"
    "                              give both servers the admins of roster.json\n"
    "\n"
    "Exit status: 0 when clients.txt was written or nothing was to be written, 1 when it\n"
    "could not be written, 2 for a usage error. With --check: 0 when the file is\n"
    "sound, 1 when it has problems, 2 when it cannot be read or parsed. With --list: 0, or 2\n"
    "when the file cannot be read or parsed. With --remove and --set: 0 when done (or, for\n"
    "--set, nothing was to change), 1 when no admin or more than one matches or the file\n"
    "cannot be read, parsed or written, and for --set 2 for a group the file does not define\n"
    "or a value with a control character. With --apply: 0 when every file holds the roster,\n"
    "1 when a file could not be read, parsed or written (the others are done), 2 for an\n"
    "invalid roster.\n";

constexpr std::string_view kCopyright =
    "Copyright (c) 2026 the velmora developers\n"
    "License: MIT. This is free software: you are free to change and redistribute it.\n";

// What an option takes after it: an operand (an admin's name, or a roster), then files (one
// or many, and not an argument that begins with '-'), and for --set the fields. The operand,
// or the file, may also come after '=': --check=FILE.
enum class Operand { kNone, kAdminName, kRoster };
enum class Files { kNone, kOne, kMany };

struct Option {
  std::string_view spelling;
  Action action;
  Operand operand = Operand::kNone;
  Files files = Files::kNone;
  bool takesFields = false;
};

constexpr Option kOptions[] = {
    {"--help", Action::kHelp},
    {"-h", Action::kHelp},
    {"--version", Action::kVersion},
    {"--add", Action::kAdd},
    {"--check", Action::kCheck, Operand::kNone, Files::kOne},
    {"--list", Action::kList, Operand::kNone, Files::kOne},
    {"--remove", Action::kRemove, Operand::kAdminName, Files::kOne},
    {"--set", Action::kSet, Operand::kAdminName, Files::kOne, true},
    {"--apply", Action::kApply, Operand::kRoster, Files::kMany},
};

// An option that changes how a mode works, not which mode runs.
struct Modifier {
  std::string_view spelling;
  bool CommandLine::*flag;
  std::array<Action, 3> modes;
  std::string_view modesNamed;
};

constexpr Modifier kModifiers[] = {
    {"--json",
     &CommandLine::json,
     {Action::kCheck, Action::kList, Action::kApply},
     "--list, --check or --apply"},
    {"--dry-run",
     &CommandLine::dryRun,
     {Action::kSet, Action::kRemove, Action::kApply},
     "--set, --remove or --apply"},
    {"--prune", &CommandLine::prune, {Action::kApply, Action::kApply, Action::kApply}, "--apply"},
};

CommandLine usageError(const std::string& problem) {
  CommandLine command;
  command.action = Action::kUsageError;
  command.message = "velmora: " + problem + "\nTry 'velmora --help' for more information.\n";
  return command;
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
      (equals != std::string_view::npos && option->operand == Operand::kNone &&
       option->files == Files::kNone)) {
    return nullptr;
  }
  if (equals != std::string_view::npos) {
    attached = argument.substr(equals + 1);
  }
  return option;
}

const Modifier* modifierSpelled(std::string_view argument) {
  const Modifier* modifier =
      std::find_if(std::begin(kModifiers), std::end(kModifiers),
                   [argument](const Modifier& m) { return m.spelling == argument; });
  return modifier == std::end(kModifiers) ? nullptr : modifier;
}

// The field an argument such as admin=Serveradmin sets; empty for any other argument.
std::optional<FieldSetting> fieldSpelled(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  const EntryField* field = entryFieldNamed(argument.substr(0, equals));
  if (equals == std::string_view::npos || field == nullptr) {
    return std::nullopt;
  }
  return FieldSetting{field->name, std::string(argument.substr(equals + 1))};
}

// The option of a mode; null for the dialogue, which no option names.
const Option* optionFor(Action action) {
  const Option* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [action](const Option& o) { return o.action == action; });
  return option == std::end(kOptions) ? nullptr : option;
}

// What is wrong with the fields of --set; empty when nothing is.
std::string fieldProblem(const std::vector<FieldSetting>& fields) {
  if (fields.empty()) {
    return "option '--set' needs a field to set, such as admin=Serveradmin; the fields are "
           "name=, steam=, ip=, admin= and immunity=";
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (fields[i].field == fields[j].field) {
        return "the field '" + std::string(fields[i].field) + "=' is given twice";
      }
    }
  }
  const auto given = [&fields](std::string_view name) {
    return std::any_of(fields.begin(), fields.end(),
                       [name](const FieldSetting& f) { return f.field == name; });
  };
  if (given(fields::kSteam) && given(fields::kIp)) {
    return "steam= and ip= cannot be used together: an entry holds one of them";
  }
  return {};
}

// Takes an argument that is no option: a field, the file or one more file, as the mode takes
// them. Returns what is wrong with it, or nothing.
std::string takeOperand(CommandLine& command, std::string_view argument, bool& fileGiven) {
  const Option* mode = optionFor(command.action);
  if (mode == nullptr) {
    return "unrecognized option '" + std::string(argument) + "'";
  }
  const Option& option = *mode;
  if (option.takesFields) {
    if (std::optional<FieldSetting> field = fieldSpelled(argument)) {
      command.fields.push_back(std::move(*field));
      return {};
    }
  }
  if (option.files == Files::kMany && !argument.starts_with('-')) {
    command.files.emplace_back(argument);
    return {};
  }
  if (option.files == Files::kOne && !fileGiven && !argument.starts_with('-')) {
    command.file = argument;
    fileGiven = true;
    return {};
  }
  if (option.takesFields && !argument.starts_with('-')) {
    return "--set takes one FILE, but '" + command.file + "' and '" + std::string(argument) +
           "' are not fields: the fields are name=, steam=, ip=, admin= and immunity=";
  }
  return "unrecognized option '" + std::string(argument) + "'";
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  CommandLine command;
  std::string_view chosen;
  bool fileGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (const Modifier* modifier = modifierSpelled(argument)) {
      command.*modifier->flag = true;
      continue;
    }
    std::optional<std::string_view> attached;
    const Option* option = optionSpelled(argument, attached);
    if (option == nullptr) {
      if (std::string problem = takeOperand(command, argument, fileGiven); !problem.empty()) {
        return usageError(problem);
      }
      continue;
    }
    // Help and version act as soon as they are met, as GNU programs do.
    if (option->action == Action::kHelp) {
      CommandLine help;
      help.action = Action::kHelp;
      help.message = kUsage;
      return help;
    }
    if (option->action == Action::kVersion) {
      CommandLine version;
      version.action = Action::kVersion;
      version.message = "velmora " + std::string(build::kVersion) + "\n" + std::string(kCopyright);
      return version;
    }
    if (command.action != Action::kSetUp) {
      return usageError(std::string(chosen) + " and " + std::string(option->spelling) +
                        " cannot be used together");
    }
    command.action = option->action;
    chosen = option->spelling;
    if (option->operand != Operand::kNone) {
      std::optional<std::string_view> operand = std::exchange(attached, std::nullopt);
      if (!operand && i + 1 < arguments.size()) {
        operand = arguments[++i];
      }
      if (!operand || operand->empty()) {
        return usageError("option '" + std::string(option->spelling) + "' needs " +
                          (option->operand == Operand::kRoster ? "a roster file, or - for "
                                                                 "standard input"
                                                               : "an admin's name"));
      }
      (option->operand == Operand::kRoster ? command.roster : command.adminName) = *operand;
    }
    if (attached) {
      if (attached->empty()) {
        return usageError("option '" + std::string(option->spelling) + "=' needs a file name");
      }
      command.file = *attached;
      fileGiven = true;
    }
  }
  for (const Modifier& modifier : kModifiers) {
    if (command.*modifier.flag && std::find(modifier.modes.begin(), modifier.modes.end(),
                                            command.action) == modifier.modes.end()) {
      return usageError("option '" + std::string(modifier.spelling) + "' goes with " +
                        std::string(modifier.modesNamed) + " only");
    }
  }
  if (command.action == Action::kSet) {
    if (std::string problem = fieldProblem(command.fields); !problem.empty()) {
      return usageError(problem);
    }
  }
  if (command.action == Action::kApply && command.files.empty()) {
    command.files.emplace_back(kDefaultFile);
  }
  return command;
}

}  // namespace velmora
