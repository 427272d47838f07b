#include "clientfile/text_edits.hpp"

#include <algorithm>
#include <iterator>
#include <utility>

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
  // The removals in text order, so that the one an insertion falls inside is found by a search
  // and not by a look at every edit, which a large file's many edits would feel.
  std::vector<std::pair<std::size_t, std::size_t>> removals;
  for (const TextEdit& edit : edits) {
    if (edit.replacement.empty() && edit.begin < edit.end) {
      removals.emplace_back(edit.begin, edit.end);
    }
  }
  std::sort(removals.begin(), removals.end());
  for (TextEdit& insertion : edits) {
    if (insertion.begin != insertion.end) {
      continue;
    }
    // The removal that begins last before the insertion; removals do not overlap, so it is the
    // only one the insertion can fall inside. One moved out may fall inside the one before.
    for (auto removal = std::lower_bound(removals.begin(), removals.end(),
                                         std::pair(insertion.begin, std::size_t{0}));
         removal != removals.begin() && insertion.begin < std::prev(removal)->second;
         removal = std::lower_bound(removals.begin(), removal,
                                    std::pair(insertion.begin, std::size_t{0}))) {
      const std::size_t begin = std::prev(removal)->first;
      const bool linesTaken = begin > 0 && text[begin - 1] == '\n';
      insertion.begin = insertion.end = linesTaken ? endOfLineBefore(text, begin) : begin;
    }
  }
  std::stable_sort(edits.begin(), edits.end(), [](const TextEdit& a, const TextEdit& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
  });
  return edits;
}

std::vector<std::string_view> editedPieces(std::string_view text, std::span<const TextEdit> edits) {
  std::vector<std::string_view> pieces;
  pieces.reserve(2 * edits.size() + 1);
  std::size_t kept = 0;
  for (const TextEdit& edit : edits) {
    // Overlapping edits are a fault of their maker; they must not reach outside the text.
    const std::size_t begin = std::max(edit.begin, kept);
    pieces.push_back(text.substr(kept, begin - kept));
    pieces.push_back(edit.replacement);
    kept = std::max(edit.end, begin);
  }
  pieces.push_back(text.substr(kept));
  return pieces;
}

std::string withEdits(std::string_view text, std::span<const TextEdit> edits) {
  std::string result;
  result.reserve(text.size());
  for (const std::string_view piece : editedPieces(text, edits)) {
    result.append(piece);
  }
  return result;
}

}  // namespace velmora
