#include "clientfile/unified_diff.hpp"

#include <algorithm>
#include <sstream>
#include <vector>

#include "text/text_lines.hpp"

namespace velmora {
namespace {

constexpr std::size_t kContextLines = 3;
constexpr std::string_view kNoLineEnd = "\n\\ No newline at end of file\n";

std::size_t lineFeedsIn(std::string_view text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// How many lines text holds; a last line without a line end counts.
std::size_t linesIn(std::string_view text) {
  return lineFeedsIn(text) + (!text.empty() && !text.ends_with('\n') ? 1 : 0);
}

bool isLineStart(std::string_view text, std::size_t at) { return at == 0 || text[at - 1] == '\n'; }

// Whole lines of the text that one or more edits touch, and what they become.
struct Change {
  std::size_t begin = 0;  // a line start
  std::size_t end = 0;    // a line start, or the end of the text
  std::size_t firstLine = 0;
  std::string replacement;
};

// The line end that text holds at at; empty where none begins.
std::string_view lineEndAt(std::string_view text, std::size_t at) {
  const std::string_view rest = text.substr(at);
  return rest.starts_with("\r\n") ? rest.substr(0, 2) : rest.substr(0, rest.starts_with('\n'));
}

// An edit as the diff shows it. Lines added after the end of a line's text are the same lines
// added at the start of the next line; said so, the diff shows them alone instead of the line
// before them as changed. The replacement is then its text after that line end, and the line
// end.
struct ShownEdit {
  std::size_t begin;
  std::size_t end;
  std::string_view replacement;
  std::string_view lineEnd;  // moved from the replacement's start to its end; empty if not
};

ShownEdit asWholeLines(std::string_view text, const TextEdit& edit) {
  const std::string_view lineEnd = lineEndAt(text, edit.begin);
  if (edit.begin != edit.end || lineEnd.empty() || !edit.replacement.starts_with(lineEnd)) {
    return {edit.begin, edit.end, edit.replacement, {}};
  }
  const std::size_t at = edit.begin + lineEnd.size();
  return {at, at, std::string_view(edit.replacement).substr(lineEnd.size()), lineEnd};
}

std::vector<Change> changesOf(std::string_view text, std::span<const TextEdit> edits) {
  std::vector<Change> changes;
  std::size_t counted = 0;
  std::size_t line = 1;
  std::size_t editedUpTo = 0;  // the end of the last edit, where its change's tail begins
  const auto closeLast = [&] {
    Change& last = changes.back();
    last.replacement.append(text.substr(editedUpTo, last.end - editedUpTo));
  };
  for (const TextEdit& given : edits) {
    const ShownEdit edit = asWholeLines(text, given);
    const std::size_t begin = startOfLine(text, edit.begin);
    const bool wholeLines =
        edit.end > edit.begin || edit.replacement.ends_with('\n') || !edit.lineEnd.empty();
    const std::size_t end =
        wholeLines && isLineStart(text, edit.end) ? edit.end : endOfLine(text, edit.end);
    if (changes.empty() || begin >= changes.back().end) {
      if (!changes.empty()) {
        closeLast();
      }
      line += lineFeedsIn(text.substr(counted, begin - counted));
      counted = begin;
      changes.push_back({begin, end, line, {}});
      editedUpTo = begin;
    }
    Change& change = changes.back();
    change.replacement.append(text.substr(editedUpTo, edit.begin - editedUpTo))
        .append(edit.replacement)
        .append(edit.lineEnd);
    change.end = std::max(change.end, end);
    editedUpTo = edit.end;
  }
  if (!changes.empty()) {
    closeLast();
  }
  return changes;
}

// Each line of text with prefix before it, marked when it has no line end; how many lines.
std::size_t appendLines(std::string& diff, char prefix, std::string_view text) {
  std::size_t lines = 0;
  for (; !text.empty(); ++lines) {
    const std::size_t end = endOfLine(text, 0);
    diff.append(1, prefix).append(text.substr(0, end));
    if (!text.substr(0, end).ends_with('\n')) {
      diff.append(kNoLineEnd);
    }
    text.remove_prefix(end);
  }
  return lines;
}

// The start of the line count lines before at (a line start), or of the text.
std::size_t linesBefore(std::string_view text, std::size_t at, std::size_t count) {
  for (; count > 0 && at > 0; --count) {
    at = startOfLine(text, at - 1);
  }
  return at;
}

std::size_t linesAfter(std::string_view text, std::size_t at, std::size_t count) {
  for (; count > 0 && at < text.size(); --count) {
    at = endOfLine(text, at);
  }
  return at;
}

// "-start,count": an empty range starts at the line before it, as diff writes it.
void appendRange(std::string& text, char sign, std::size_t start, std::size_t count) {
  text.append(1, sign)
      .append(std::to_string(count == 0 ? start - 1 : start))
      .append(",")
      .append(std::to_string(count));
}

}  // namespace

std::string unifiedDiff(std::string_view text, std::span<const TextEdit> edits,
                        std::string_view fileName) {
  std::ostringstream diff(std::ios::binary);
  writeUnifiedDiff(diff, text, edits, fileName);
  return std::move(diff).str();
}

void writeUnifiedDiff(std::ostream& diff, std::string_view text, std::span<const TextEdit> edits,
                      std::string_view fileName) {
  const std::vector<Change> changes = changesOf(text, edits);
  bool headed = false;
  std::string body;
  std::string header;
  long long shift = 0;  // how many lines the hunks before have added
  for (std::size_t first = 0; first < changes.size();) {
    // One hunk holds the changes whose context would meet.
    std::size_t last = first;
    while (last + 1 < changes.size() &&
           linesIn(text.substr(changes[last].end, changes[last + 1].begin - changes[last].end)) <=
               2 * kContextLines) {
      ++last;
    }
    const std::size_t begin = linesBefore(text, changes[first].begin, kContextLines);
    const std::size_t end = linesAfter(text, changes[last].end, kContextLines);
    const std::size_t oldStart =
        changes[first].firstLine - linesIn(text.substr(begin, changes[first].begin - begin));
    body.clear();
    std::size_t oldCount = 0;
    std::size_t newCount = 0;
    std::size_t kept = begin;
    for (std::size_t i = first; i <= last; ++i) {
      const std::size_t context =
          appendLines(body, ' ', text.substr(kept, changes[i].begin - kept));
      oldCount +=
          context +
          appendLines(body, '-', text.substr(changes[i].begin, changes[i].end - changes[i].begin));
      newCount += context + appendLines(body, '+', changes[i].replacement);
      kept = changes[i].end;
    }
    const std::size_t after = appendLines(body, ' ', text.substr(kept, end - kept));
    oldCount += after;
    newCount += after;
    if (oldCount != 0 || newCount != 0) {
      if (!headed) {
        diff << "--- " << fileName << "\n+++ " << fileName << "\n";
        headed = true;
      }
      const auto newStart = static_cast<std::size_t>(static_cast<long long>(oldStart) + shift);
      header.assign("@@ ");
      appendRange(header, '-', oldStart, oldCount);
      header.append(" ");
      appendRange(header, '+', newStart, newCount);
      header.append(" @@\n").append(body);
      diff.write(header.data(), static_cast<std::streamsize>(header.size()));
    }
    shift += static_cast<long long>(newCount) - static_cast<long long>(oldCount);
    first = last + 1;
  }
}

}  // namespace velmora
