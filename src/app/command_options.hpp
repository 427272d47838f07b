#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "app/command_line.hpp"

// The options of each mode, as data: which option names which mode, what it takes after it,
// and which options change how the modes work.
namespace velmora::options {

using Action = CommandLine::Action;

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

inline constexpr Option kOptions[] = {
    {"--help", Action::kHelp},
    {"-h", Action::kHelp},
    {"--version", Action::kVersion},
    {"--add", Action::kAdd},
    {"--check", Action::kCheck, Operand::kNone, Files::kOne},
    {"--list", Action::kList, Operand::kNone, Files::kOne},
    {"--groups", Action::kGroups, Operand::kNone, Files::kOne},
    {"--export", Action::kExport, Operand::kNone, Files::kOne},
    {"--remove", Action::kRemove, Operand::kAdminName, Files::kOne},
    {"--set", Action::kSet, Operand::kAdminName, Files::kOne, true},
    {"--apply", Action::kApply, Operand::kRoster, Files::kMany},
};

// An option that changes how a mode works, not which mode runs; one that takes a number of
// seconds takes it after '=' or as the next argument.
struct Modifier {
  std::string_view spelling;
  bool CommandLine::*flag;
  std::array<Action, 6> modes;
  std::string_view modesNamed;
  bool takesSeconds = false;
};

inline constexpr Modifier kModifiers[] = {
    {"--json",
     &CommandLine::json,
     {Action::kCheck, Action::kList, Action::kGroups, Action::kApply, Action::kApply,
      Action::kApply},
     "--list, --groups, --check or --apply"},
    {"--dry-run",
     &CommandLine::dryRun,
     {Action::kSet, Action::kRemove, Action::kApply, Action::kApply, Action::kApply,
      Action::kApply},
     "--set, --remove or --apply"},
    {"--prune",
     &CommandLine::prune,
     {Action::kApply, Action::kApply, Action::kApply, Action::kApply, Action::kApply,
      Action::kApply},
     "--apply"},
    {"--wait",
     &CommandLine::waitGiven,
     {Action::kSetUp, Action::kAdd, Action::kSet, Action::kRemove, Action::kApply, Action::kMenu},
     "the dialogue, the menu, --add, --set, --remove or --apply",
     true},
};

// The option an argument spells, with what follows its '=' when it has one; null for none.
const Option* optionSpelled(std::string_view argument, std::optional<std::string_view>& attached);

// The modifier an argument spells, with what follows its '=' when it takes seconds; null for
// none.
const Modifier* modifierSpelled(std::string_view argument,
                                std::optional<std::string_view>& attached);

// The first modifier that command sets but its mode does not take; null when none.
const Modifier* modifierOutOfPlace(const CommandLine& command);

// The option of a mode; null for the dialogue, which no option names.
const Option* optionFor(Action action);

}  // namespace velmora::options
