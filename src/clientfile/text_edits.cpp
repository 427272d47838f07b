#include "clientfile/text_edits.hpp"

#include <algorithm>

namespace velmora {
namespace {

// Where the text of the line before the line that starts at lineStart ends, before its line
// end.
std::size_t endOfLineBefore(std::string_view text, std::size_t lineStart) {
  std::size_t at = lineStart - 1;
  return at > 0 && text[at - 1] == '\r' ? at - 1 : at;
}

}  // namespace

std::vector<TextEdit> inTextOrder(std::string_view text, std::vector<TextEdit> edits) {
  for (TextEdit& insertion : edits) {
    for (bool moved = insertion.begin == insertion.end; moved;) {
      moved = false;
      for (const TextEdit& edit : edits) {
        if (edit.replacement.empty() && edit.begin < insertion.begin &&
            insertion.begin < edit.end) {
          const bool linesTaken = edit.begin > 0 && text[edit.begin - 1] == '\n';
          insertion.begin = insertion.end =
              linesTaken ? endOfLineBefore(text, edit.begin) : edit.begin;
          moved = true;
        }
      }
    }
  }
  std::stable_sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
  });
  return edits;
}

std::string withEdits(std::string_view text, std::span<const TextEdit> edits) {
  std::string result;
  result.reserve(text.size());
  std::size_t kept = 0;
  for (const TextEdit& edit : edits) {
    // Overlapping edits are a fault of their maker; they must not reach outside the text.
    const std::size_t begin = std::max(edit.begin, kept);
    result.append(text.substr(kept, begin - kept)).append(edit.replacement);
    kept = std::max(edit.end, begin);
  }
  return result.append(text.substr(kept));
}

}  // namespace velmora
