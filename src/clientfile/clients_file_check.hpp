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

// The groups that entries from firstEntry on name but the file's global "groups" section does
// not define.
std::vector<FileFinding> undefinedGroups(const ClientsFile& file, std::size_t firstEntry = 0);

struct CheckReport {
  // One "FILE:LINE: message" line per finding, in line order, then one summary line.
  std::vector<std::string> lines;
  // 0 without findings, 1 with findings, 2 when the text cannot be parsed.
  int status = 0;
};

// Checks a clients file's text for what keeps the server from using its admins: a syntax
// error; and for each entry under "players", the roster check's findings and groups that the
// file's global "groups" section does not define.
CheckReport checkClientsText(std::string_view fileName, std::string_view text);

}  // namespace velmora
