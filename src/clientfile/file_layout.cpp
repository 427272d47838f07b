#include "clientfile/file_layout.hpp"

#include <algorithm>
#include <array>

#include "clientfile/client_file.hpp"
#include "text/character_classes.hpp"
#include "text/text_lines.hpp"

namespace velmora {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The line's text without its indentation and line end.
std::string_view lineContent(std::string_view line) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

std::string_view lineEndOf(std::string_view text) {
  const bool hasLineFeed = text.find('\n') != std::string_view::npos;
  return hasLineFeed && text.find("\r\n") == std::string_view::npos ? "\n" : kCrLf;
}

Indentation entryIndentationOf(std::string_view text, const ClientsFile& file) {
  Indentation indentation;
  const auto first = std::find_if(
      file.blocks.begin(), file.blocks.end(),
      [text](const BlockAt& at) { return !indentationBefore(text, at.key.begin).empty(); });
  if (first == file.blocks.end()) {
    return indentation;
  }
  indentation.entry = indentationBefore(text, first->key.begin);
  indentation.level = levelBetween(indentationBefore(text, file.playersOffset), indentation.entry);
  return indentation;
}

// Whether value can stand without quotes where a token without them stood: the reader ends
// such a token at white space, a quote or a brace, and takes "//" for a comment and a
// bracket for the start of a condition.
bool canStandUnquoted(std::string_view value) {
  return !value.empty() && !value.starts_with('/') &&
         std::none_of(value.begin(), value.end(), [](char c) {
           return isWhiteSpace(c) || isControl(c) || c == '"' || c == '{' || c == '}' || c == '[';
         });
}

}  // namespace

std::string_view indentationBefore(std::string_view text, std::size_t at) {
  const std::size_t lineStart = startOfLine(text, at);
  const std::string_view before = text.substr(lineStart, at - lineStart);
  return before.find_first_not_of(" \t") == std::string_view::npos ? before : std::string_view{};
}

std::string levelBetween(std::string_view outer, std::string_view inner) {
  if (inner.size() > outer.size() && inner.starts_with(outer)) {
    return std::string(inner.substr(outer.size()));
  }
  return std::string(inner.substr(0, (inner.size() + 1) / 2));
}

std::string inQuotes(std::string_view value) {
  return std::string("\"").append(value).append("\"");
}

std::string tokenFor(std::string_view value, bool wasQuoted) {
  return !wasQuoted && canStandUnquoted(value) ? std::string(value) : inQuotes(value);
}

FileLayout layoutOf(std::string_view text, const ClientsFile& file) {
  return {lineEndOf(text), entryIndentationOf(text, file)};
}

Indentation indentationOf(std::string_view text, const FileLayout& layout,
                          const EntryPlace& place) {
  Indentation indentation = layout.indentation;
  const std::string_view own = indentationBefore(text, place.at.key.begin);
  if (own.empty()) {
    return indentation;
  }
  indentation.entry = own;
  const std::array<std::size_t, 4> values = {
      place.nameAt ? place.nameAt->key.begin : 0, place.steamAt ? place.steamAt->key.begin : 0,
      place.ipAt ? place.ipAt->key.begin : 0, place.groupsAt ? place.groupsAt->key.begin : 0};
  for (const std::size_t at : values) {
    const std::string_view inner = at > place.at.open ? indentationBefore(text, at) : "";
    if (inner.size() > own.size() && inner.starts_with(own)) {
      indentation.level = levelBetween(own, inner);
      break;
    }
  }
  return indentation;
}

std::string reindented(std::string_view pieces, const Indentation& indentation) {
  std::string result;
  while (!pieces.empty()) {
    const std::size_t tabs = pieces.find_first_not_of('\t');
    if (tabs >= 2 && tabs != std::string_view::npos) {
      result += indentation.entry;
      for (std::size_t level = 2; level < tabs; ++level) {
        result += indentation.level;
      }
      pieces.remove_prefix(tabs);
    }
    const std::size_t lineEnd = endOfLine(pieces, 0);
    result.append(pieces.substr(0, lineEnd));
    pieces.remove_prefix(lineEnd);
  }
  return result;
}

std::size_t insertionPoint(std::string_view text, std::size_t closingBrace) {
  std::size_t at = closingBrace;
  while (at > 0 && isBlank(text[at - 1])) {
    --at;
  }
  if (at > 0 && text[at - 1] == '\n') {
    --at;
    if (at > 0 && text[at - 1] == '\r') {
      --at;
    }
  }
  return at;
}

std::size_t endOfLineContent(std::string_view text, std::size_t at) {
  std::size_t end = endOfLine(text, at);
  if (end > at && text[end - 1] == '\n') {
    --end;
    if (end > at && text[end - 1] == '\r') {
      --end;
    }
  }
  return end;
}

bool onlyCommentAfter(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at, endOfLine(text, at) - at);
  const std::size_t first = std::find_if_not(rest.begin(), rest.end(), isWhiteSpace) - rest.begin();
  return first == rest.size() || rest.substr(first).starts_with("//");
}

TextEdit removal(std::string_view text, std::size_t begin, std::size_t end,
                 std::string_view comment) {
  const std::size_t lineStart = startOfLine(text, begin);
  const std::size_t lineEnd = endOfLine(text, end);
  const bool aloneBefore = std::all_of(text.begin() + static_cast<std::ptrdiff_t>(lineStart),
                                       text.begin() + static_cast<std::ptrdiff_t>(begin), isBlank);
  if (!aloneBefore || !lineContent(text.substr(end, lineEnd - end)).empty()) {
    return {begin, end, {}};
  }
  // The line before: it ends with the line feed just before lineStart.
  const std::size_t commentStart = lineStart > 0 ? startOfLine(text, lineStart - 1) : 0;
  const bool ownComment =
      !comment.empty() && lineStart > 0 &&
      lineContent(text.substr(commentStart, lineStart - commentStart)) == comment;
  return {ownComment ? commentStart : lineStart, lineEnd, {}};
}

}  // namespace velmora
