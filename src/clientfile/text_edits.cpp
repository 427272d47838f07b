#include "clientfile/text_edits.hpp"

#include <algorithm>

namespace velmora {

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
