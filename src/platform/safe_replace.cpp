#include "platform/safe_replace.hpp"

#include <chrono>
#include <random>

#include "platform/link_target.hpp"
#include "platform/new_file.hpp"
#include "text/path_text.hpp"

namespace velmora {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxNameAttempts = 100;

constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 8;
constexpr std::string_view kTemporaryEnd = ".tmp";

// ".k3v9q0xa.tmp": eight random letters and digits, so that runs at the same time never pick
// the same name.
std::string temporarySuffix() {
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{
        device(), device(),
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return std::mt19937_64(seed);
  }();
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string suffix = ".";
  for (std::size_t i = 0; i < kRandomLetters; ++i) {
    suffix += kAlphabet[pick(generator)];
  }
  return suffix += kTemporaryEnd;
}

// Whether name is one that temporarySuffix gives a file named file.
bool isTemporaryOf(std::string_view name, std::string_view file) {
  if (name.size() != file.size() + 1 + kRandomLetters + kTemporaryEnd.size() ||
      !name.starts_with(file) || !name.ends_with(kTemporaryEnd) || name[file.size()] != '.') {
    return false;
  }
  const std::string_view letters = name.substr(file.size() + 1, kRandomLetters);
  return letters.find_first_not_of(kAlphabet) == std::string_view::npos;
}

// A new file beside destination, named after it.
NewFile createTemporaryBeside(const fs::path& destination, fs::path& temporary,
                              std::error_code& failure) {
  for (int attempt = 1;; ++attempt) {
    temporary = destination;
    temporary += temporarySuffix();
    NewFile file = NewFile::create(temporary, failure);
    if (failure != std::errc::file_exists || attempt == kMaxNameAttempts) {
      return file;
    }
  }
}

// Writes the pieces a buffer at a time: many small pieces need not cost a write each, and a
// large piece goes as it is.
std::error_code writeAll(NewFile& file, std::span<const std::string_view> pieces) {
  constexpr std::size_t kBuffer = std::size_t{1} << 20;
  std::string buffer;
  for (const std::string_view piece : pieces) {
    if (buffer.size() + piece.size() > kBuffer && !buffer.empty()) {
      if (std::error_code failure = file.write(buffer)) {
        return failure;
      }
      buffer.clear();
    }
    if (piece.size() >= kBuffer) {
      if (std::error_code failure = file.write(piece)) {
        return failure;
      }
    } else {
      buffer.append(piece);
    }
  }
  return buffer.empty() ? std::error_code{} : file.write(buffer);
}

// Fills the temporary file and moves it into place; the first failure ends it. Only an
// existing file has attributes to keep: whatever else stands in the way fails the rename.
std::error_code fillAndPlace(NewFile& file, const fs::path& temporary, const fs::path& destination,
                             bool replacesFile, std::span<const std::string_view> pieces) {
  if (std::error_code failure = writeAll(file, pieces)) {
    return failure;
  }
  if (replacesFile) {
    if (std::error_code failure = file.copyAttributesOf(destination)) {
      return failure;
    }
  }
  if (std::error_code failure = file.syncAndClose()) {
    return failure;
  }
  // Unlike std::rename, this also replaces an existing file on Windows.
  std::error_code failure;
  fs::rename(temporary, destination, failure);
  return failure;
}

// The new contents in place of the old, or the first failure; the temporary file is removed
// after a failure, and leftover names it when it could not be.
std::error_code placeNewContents(const fs::path& destination,
                                 std::span<const std::string_view> pieces, fs::path& leftover) {
  // A file that cannot be looked up might still be there: replacing it blind would lose its
  // mode and owner, so only "not there" lets the replacement go on.
  std::error_code failure;
  const fs::file_status existing = fs::status(destination, failure);
  if (existing.type() == fs::file_type::not_found) {
    failure.clear();
  }
  const bool replacesFile = fs::is_regular_file(existing);
  if (!failure && replacesFile) {
    failure = requireWritable(destination);
  }
  if (failure) {
    return failure;
  }
  fs::path temporary;
  {  // The file is closed at the end of this block: Windows removes no open file.
    NewFile file = createTemporaryBeside(destination, temporary, failure);
    if (failure) {
      // Nothing was created, so nothing is cleaned up: whatever stands in the way stays.
      return failure;
    }
    failure = fillAndPlace(file, temporary, destination, replacesFile, pieces);
  }
  if (failure) {
    std::error_code notRemoved;
    if (!fs::remove(temporary, notRemoved) && notRemoved) {
      leftover = temporary;
    }
  }
  return failure;
}

}  // namespace

void removeLeftoverTemporaries(const fs::path& file) {
  const std::string name = textOfPath(file.filename());
  std::error_code unlisted;
  for (fs::directory_iterator entry(folderOf(file), unlisted), end; !unlisted && entry != end;
       entry.increment(unlisted)) {
    std::error_code unknown;
    if (isTemporaryOf(textOfPath(entry->path().filename()), name) &&
        entry->symlink_status(unknown).type() == fs::file_type::regular) {
      fs::remove(entry->path(), unknown);
    }
  }
}

Result<> replaceFileContents(const fs::path& target, std::string_view bytes,
                             std::string_view fileName) {
  return replaceFileContents(target, std::span(&bytes, 1), fileName);
}

Result<> replaceFileContents(const fs::path& target, std::span<const std::string_view> pieces,
                             std::string_view fileName) {
  std::error_code failure;
  const fs::path destination = finalTargetOf(target, failure);
  fs::path leftover;
  if (!failure) {
    failure = placeNewContents(destination, pieces, leftover);
  }
  if (failure) {
    Failure unwritten = systemFailure("cannot write " + std::string(fileName), failure);
    if (!leftover.empty()) {
      unwritten.line.append(" (the temporary file ")
          .append(textOfPath(leftover.filename()))
          .append(" could not be removed)");
    }
    return unwritten;
  }
  if (const std::error_code unsynced = syncFolder(folderOf(destination))) {
    return systemFailure(
        std::string(fileName) + " was replaced, but the change may not survive a power cut",
        unsynced);
  }
  return {};
}

}  // namespace velmora
