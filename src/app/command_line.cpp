#include "app/command_line.hpp"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/command_options.hpp"
#include "app/usage_text.hpp"
#include "roster/entry_values.hpp"

namespace velmora {
namespace {

using Action = CommandLine::Action;
using options::Files;
using options::Modifier;
using options::Operand;
using options::Option;

constexpr std::string_view kDefaultFile = "clients.txt";

CommandLine usageError(const std::string& problem) {
  CommandLine command;
  command.action = Action::kUsageError;
  command.message = "velmora: " + problem + "\nTry 'velmora --help' for more information.\n";
  return command;
}

// A number of seconds to wait: digits only, and no more than a day.
std::optional<int> secondsIn(std::string_view text) {
  constexpr int kDay = 24 * 60 * 60;
  int seconds = 0;
  for (const char c : text) {
    if (c < '0' || c > '9' || seconds > kDay) {
      return std::nullopt;
    }
    seconds = seconds * 10 + (c - '0');
  }
  if (text.empty() || seconds > kDay) {
    return std::nullopt;
  }
  return seconds;
}

constexpr std::string_view kFieldsNamed = "the fields are name=, steam=, ip=, admin= and immunity=";

// The field an argument such as admin=Serveradmin sets; empty for any other argument.
std::optional<FieldSetting> fieldSpelled(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  const EntryField* field = entryFieldNamed(argument.substr(0, equals));
  if (equals == std::string_view::npos || field == nullptr) {
    return std::nullopt;
  }
  return FieldSetting{field->name, std::string(argument.substr(equals + 1))};
}

// The word before '=' in an argument spelled as a field is, such as admn=Teamadmin; empty for
// any other argument, such as a file's path.
std::string_view fieldWord(std::string_view argument) {
  const std::string_view word = argument.substr(0, argument.find('='));
  const bool isWord = std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
  });
  return word.size() < argument.size() && isWord ? word : std::string_view{};
}

// What is wrong with the fields of --set; empty when nothing is.
std::string fieldProblem(const std::vector<FieldSetting>& fields) {
  if (fields.empty()) {
    return "option '--set' needs a field to set, such as admin=Serveradmin; " +
           std::string(kFieldsNamed);
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
  const bool isOption = argument.starts_with('-');
  // One file alone opens the menu on it, as dropping the file on the program does.
  if (command.action == Action::kSetUp && !isOption && !argument.empty()) {
    command.action = Action::kMenu;
    command.file = argument;
    return {};
  }
  if (command.action == Action::kMenu && !isOption) {
    return "velmora FILE takes one file, but '" + command.file + "' and '" + std::string(argument) +
           "' were given";
  }
  const Option* mode = options::optionFor(command.action);
  if (mode == nullptr) {
    return "unrecognized option '" + std::string(argument) + "'";
  }
  const Option& option = *mode;
  if (option.takesFields) {
    if (std::optional<FieldSetting> field = fieldSpelled(argument)) {
      command.fields.push_back(std::move(*field));
      return {};
    }
    if (const std::string_view word = fieldWord(argument); !word.empty()) {
      return "unknown field '" + std::string(word) + "=': " + std::string(kFieldsNamed);
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
           "' are not fields: " + std::string(kFieldsNamed);
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
    std::optional<std::string_view> attached;
    if (const Modifier* modifier = options::modifierSpelled(argument, attached)) {
      command.*modifier->flag = true;
      if (modifier->takesSeconds) {
        if (!attached && i + 1 < arguments.size()) {
          attached = arguments[++i];
        }
        const std::optional<int> seconds = attached ? secondsIn(*attached) : std::nullopt;
        if (!seconds) {
          return usageError("option '" + std::string(modifier->spelling) +
                            "' needs a number of seconds, such as " +
                            std::string(modifier->spelling) + "=30");
        }
        command.wait = std::chrono::seconds(*seconds);
      }
      continue;
    }
    const Option* option = options::optionSpelled(argument, attached);
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
      help.message = usageText();
      return help;
    }
    if (option->action == Action::kVersion) {
      CommandLine version;
      version.action = Action::kVersion;
      version.message = versionText();
      return version;
    }
    if (command.action == Action::kMenu) {
      chosen = "velmora FILE";
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
  if (const Modifier* modifier = options::modifierOutOfPlace(command)) {
    return usageError("option '" + std::string(modifier->spelling) + "' goes with " +
                      std::string(modifier->modesNamed) + " only");
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
