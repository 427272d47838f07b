#include "clientfile/clients_file_remove.hpp"

#include <algorithm>

#include <optional>
#include "text/letter_case.hpp"

#include "clientfile/client_file.hpp"
#include "clientfile/key_values.hpp"
#include "roster/steam_id.hpp"
#include "text/text_lines.hpp"

namespace velmora {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool matches(const std::optional<std::string>& value, std::string_view wanted) {
  return value && sameLetterCaseAside(*value, wanted);
}

// Whether steamId and wanted name one account, in whatever forms each is written.
bool sameAccount(const std::optional<std::string>& steamId, std::string_view wanted) {
  const std::optional<SteamAccount> account = steamId ? steamAccountOf(*steamId) : std::nullopt;
  const std::optional<SteamAccount> wantedAccount = steamAccountOf(wanted);
  return account && wantedAccount && account->number == wantedAccount->number;
}

bool names(const ClientEntry& entry, std::string_view wanted) {
  return entry.isBlock &&
         (sameLetterCaseAside(entry.facts.name, wanted) || matches(entry.realName, wanted) ||
          matches(entry.facts.steamId, wanted) || sameAccount(entry.facts.steamId, wanted) ||
          matches(entry.facts.ipAddress, wanted));
}

// The line's text without its indentation and line end.
std::string_view lineContent(std::string_view line) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

struct Range {
  std::size_t begin;
  std::size_t end;
};

// The bytes that go with an entry: its whole lines when it has them to itself, else the
// entry alone, from its key to its closing brace.
Range rangeOf(std::string_view text, const ClientEntry& entry) {
  const Range entryOnly{entry.offset, entry.closeOffset + 1};
  const std::size_t lineStart = startOfLine(text, entry.offset);
  const bool aloneBefore =
      std::all_of(text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                  text.begin() + static_cast<std::ptrdiff_t>(entry.offset), isBlank);
  const std::size_t lineEnd = endOfLine(text, entryOnly.end);
  const std::string_view after = text.substr(entryOnly.end, lineEnd - entryOnly.end);
  if (!aloneBefore || !lineContent(after).empty()) {
    return entryOnly;
  }
  // The line before: it ends with the line feed just before lineStart.
  const std::size_t commentStart = lineStart > 0 ? startOfLine(text, lineStart - 1) : 0;
  const bool ownComment =
      lineStart > 0 &&
      lineContent(text.substr(commentStart, lineStart - commentStart)) == kEntryComment;
  return {ownComment ? commentStart : lineStart, lineEnd};
}

}  // namespace

Removal withoutAdmins(std::string_view text, const ClientsFile& file, std::string_view wanted) {
  Removal removal;
  std::vector<Range> ranges;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    if (names(file.entries[index], wanted)) {
      removal.removed.push_back(index);
      ranges.push_back(rangeOf(text, file.entries[index]));
    }
  }
  std::size_t kept = 0;
  for (const Range& range : ranges) {
    removal.text.append(text.substr(kept, range.begin - kept));
    kept = range.end;
  }
  removal.text.append(text.substr(kept));
  return removal;
}

}  // namespace velmora
