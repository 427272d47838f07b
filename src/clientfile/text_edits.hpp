#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One change to a text: the bytes from begin to end give way to replacement. An insertion
// has begin equal to end; a removal has no replacement.
struct TextEdit {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string replacement;

  bool operator==(const TextEdit&) const = default;
};

// edits of text put in text order. An insertion that falls inside text taken out goes just
// before it: where whole lines are taken out, at the end of the line before them, as lines
// added there begin with a line end.
std::vector<TextEdit> inTextOrder(std::string_view text, std::vector<TextEdit> edits);

// text with edits made. The edits are in text order and do not overlap; every byte outside
// them stays as it was.
std::string withEdits(std::string_view text, std::span<const TextEdit> edits);

// The same as pieces of text and of the edits' replacements, one after another, so that a large
// text can be written without a copy of it being made first.
std::vector<std::string_view> editedPieces(std::string_view text, std::span<const TextEdit> edits);

}  // namespace velmora
