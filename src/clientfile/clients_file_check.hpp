#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "keyvalues/finding.hpp"

namespace velmora {

struct ClientsFile;

// What a finding says about a group that the entry at index, named name, puts its admin in
// under kind ("Admin" or "Immunity"), but that the file's global "groups" section does not
// define.
std::string undefinedGroupMessage(std::size_t index, std::string_view name, std::string_view kind,
                                  std::string_view group);

// The groups that entries name but the file's global "groups" section does not define.
std::vector<FileFinding> undefinedGroups(const ClientsFile& file);

struct CheckReport {
  enum class Verdict { kSound, kProblems, kUnparsable };
  // One "FILE:LINE: message" line per finding, in line order, then one summary line.
  std::vector<std::string> lines;
  Verdict verdict = Verdict::kSound;
  // The same as one JSON object, for scripts: the file, the number of admins (null after a
  // syntax error) and the findings with their lines (and, for a syntax error, its column).
  std::string json;
};

// Checks a clients file's text for what keeps the server from using its admins, or lets
// readers of the format disagree about it: a syntax error; what other readers read
// differently (a backslash, a quoted text over several lines, a condition, a control
// character); and for each entry under "players", the roster check's findings and groups that
// the file's global "groups" section does not define. What is read before a syntax error is
// checked for what other readers read differently, so that a cause shows before its effect.
CheckReport checkClientsText(std::string_view fileName, std::string_view text);

}  // namespace velmora
