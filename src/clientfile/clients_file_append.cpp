#include "clientfile/clients_file_append.hpp"

#include <system_error>

#include "clientfile/client_file.hpp"
#include "clientfile/file_bytes.hpp"
#include "clientfile/key_values.hpp"
#include "clientfile/text_encoding.hpp"

namespace velmora {
namespace {

std::string_view lineEndOf(std::string_view text) {
  const bool hasLineFeed = text.find('\n') != std::string_view::npos;
  return hasLineFeed && text.find("\r\n") == std::string_view::npos ? "\n" : kCrLf;
}

// Just after the last thing in the block: the closing brace's indentation and the line end
// before it are left for after the new entries, which each begin with a line end.
std::size_t insertionPoint(std::string_view text, std::size_t closingBrace) {
  std::size_t at = closingBrace;
  while (at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t')) {
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

}  // namespace

ExistingClientsFile readForAdding(const std::filesystem::path& file, std::string_view fileName) {
  ExistingClientsFile existing;
  std::error_code failure;
  std::optional<std::string> bytes = readFileBytes(file, failure);
  if (!bytes) {
    if (failure != std::errc::no_such_file_or_directory) {
      existing.failure = "velmora: cannot read " + std::string(fileName) + ": " + failure.message();
    }
    return existing;
  }
  existing.exists = true;
  existing.bytes = std::move(*bytes);
  if (startsAsUtf16(existing.bytes)) {
    existing.failure = utf16Refusal(fileName);
    return existing;
  }
  const keyvalues::Document document = keyvalues::parse(existing.bytes);
  const std::string cannotAdd = "velmora: cannot add to " + std::string(fileName) + ": line ";
  if (document.error) {
    existing.failure =
        cannotAdd + std::to_string(document.error->line) + ": " + document.error->withColumn();
    return existing;
  }
  existing.file = readClientsFile(document);
  if (!existing.file.playersClose) {
    existing.failure =
        cannotAdd + std::to_string(existing.file.rootLine) + ": no \"players\" block";
  }
  return existing;
}

std::string withEntriesAdded(const ExistingClientsFile& existing, const AdminRoster& roster) {
  const std::string_view text = existing.bytes;
  const std::size_t at = insertionPoint(text, *existing.file.playersClose);
  return std::string(text.substr(0, at))
      .append(clientEntriesText(roster, lineEndOf(text)))
      .append(text.substr(at));
}

}  // namespace velmora
