#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct ClientsFile;

// A finding about a clients file: the line it is about and what is wrong there.
struct FileFinding {
  std::size_t line = 0;
  std::string message;
};

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
};

// Checks a clients file's text for what keeps the server from using its admins: a syntax
// error; and for each entry under "players", the roster check's findings and groups that the
// file's global "groups" section does not define.
CheckReport checkClientsText(std::string_view fileName, std::string_view text);

}  // namespace velmora
