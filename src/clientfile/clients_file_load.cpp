#include "clientfile/clients_file_load.hpp"

#include <system_error>

#include "keyvalues/key_values.hpp"
#include "keyvalues/text_encoding.hpp"
#include "platform/file_bytes.hpp"

namespace velmora {

Result<std::string> readClientsText(const std::filesystem::path& file, std::string_view fileName) {
  Result<std::string> bytes = readFileBytes(file, fileName);
  if (!bytes.failed() && startsAsUtf16(bytes.value())) {
    return Failure{utf16Refusal(fileName)};
  }
  return bytes;
}

Result<LoadedClientsFile> loadClientsFile(const std::filesystem::path& file,
                                          std::string_view fileName, std::string_view purpose,
                                          MissingFile missing, EntryPlaces places) {
  Result<std::string> bytes = readClientsText(file, fileName);
  if (bytes.failed()) {
    if (missing == MissingFile::kAllowed &&
        bytes.failure().cause == std::errc::no_such_file_or_directory) {
      return LoadedClientsFile{};
    }
    return bytes.failure();
  }
  LoadedClientsFile loaded{.exists = true, .bytes = std::move(bytes.value()), .file = {}};
  ParsedClientsFile parsed = parseClientsFile(loaded.bytes, places);
  if (const std::optional<keyvalues::SyntaxError>& error = parsed.document.error) {
    return Failure{"velmora: cannot " + std::string(purpose) + " " + std::string(fileName) +
                   ": line " + std::to_string(error->line) + ": " + error->withColumn()};
  }
  loaded.file = std::move(parsed.file);
  return loaded;
}

}  // namespace velmora
