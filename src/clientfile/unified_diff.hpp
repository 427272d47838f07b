#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "clientfile/text_edits.hpp"

namespace velmora {

// What edits do to text, as a unified diff of the file fileName with three lines of context,
// which patch applies to give exactly withEdits(text, edits). Lines are the file's own bytes,
// CR included; a last line without a line end is marked as diff marks it. Empty when the
// edits change nothing.
std::string unifiedDiff(std::string_view text, std::span<const TextEdit> edits,
                        std::string_view fileName);

// The same, written to diff a hunk at a time, as the diff of a large file need not be held whole.
void writeUnifiedDiff(std::ostream& diff, std::string_view text, std::span<const TextEdit> edits,
                      std::string_view fileName);

}  // namespace velmora
