#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/change_lock.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// What the command line asks for. Without arguments it is the dialogue, as always.
struct CommandLine {
  enum class Action {
    kSetUp,
    kAdd,
    kCheck,
    kList,
    kGroups,
    kExport,
    kRemove,
    kSet,
    kApply,
    kMenu,
    kHelp,
    kVersion,
    kUsageError
  };

  Action action = Action::kSetUp;
  // For kHelp and kVersion, what goes to standard output; for kUsageError, the lines for
  // standard error.
  std::string message;
  // For kCheck, kList, kGroups, kExport, kRemove, kSet and kMenu, the file to read.
  std::string file = "clients.txt";
  // For kRemove and kSet, the name, STEAMID or IP address of the admins meant.
  std::string adminName;
  // For kSet, the fields to set, in the order given.
  std::vector<FieldSetting> fields;
  // For kApply, the roster ("-" for standard input) and the files to apply it to.
  std::string roster;
  std::vector<std::string> files;
  // For kCheck, kList, kGroups and kApply: answer in JSON instead of lines for people.
  bool json = false;
  // For kSet, kRemove and kApply: show the change as a diff and write nothing.
  bool dryRun = false;
  // For kApply: also take out the admins the roster does not name.
  bool prune = false;
  // For the modes that change a file: how long to wait for another program that is changing
  // it, and whether the command line said.
  std::chrono::seconds wait = kDefaultWait;
  bool waitGiven = false;
};

// arguments excludes the program's own name.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

}  // namespace velmora
