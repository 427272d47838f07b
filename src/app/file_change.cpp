#include "app/file_change.hpp"

#include "clientfile/unified_diff.hpp"
#include "platform/safe_replace.hpp"

namespace velmora {

Result<> changeFile(const std::filesystem::path& file, std::string_view name, std::string_view text,
                    std::span<const TextEdit> edits, bool dryRun, std::ostream& diff) {
  if (dryRun) {
    writeUnifiedDiff(diff, text, edits, name);
    diff.flush();
    return {};
  }
  return replaceFileContents(file, editedPieces(text, edits), name);
}

}  // namespace velmora
