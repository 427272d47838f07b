#include "app/file_change.hpp"

#include "app/change_lock.hpp"
#include "clientfile/unified_diff.hpp"
#include "platform/file_bytes.hpp"
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

Result<> changeFileAsShown(const std::filesystem::path& file, std::string_view name,
                           const std::optional<std::string>& shown, std::span<const TextEdit> edits,
                           std::chrono::seconds wait, std::ostream& errors) {
  const Result<FileForChange> held =
      lockForChange(file, name, {.dryRun = false, .wait = wait}, errors);
  if (held.failed()) {
    return held.failure();
  }
  const std::filesystem::path& changing = held.value().path;
  std::error_code unknown;
  const bool there = std::filesystem::exists(std::filesystem::symlink_status(changing, unknown));
  if (shown ? !fileHolds(changing, *shown) : there) {
    return Failure{"velmora: " + std::string(name) +
                   " was changed by another program meanwhile, so nothing was changed"};
  }
  return replaceFileContents(changing, editedPieces(shown.value_or(""), edits), name);
}

}  // namespace velmora
