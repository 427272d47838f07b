#include "clientfile/clients_file_load.hpp"

#include <system_error>

#include "clientfile/file_bytes.hpp"
#include "clientfile/key_values.hpp"
#include "clientfile/text_encoding.hpp"

namespace velmora {

std::optional<std::string> readClientsText(const std::filesystem::path& file,
                                           std::string_view fileName, MissingFile missing,
                                           std::string& failure) {
  std::error_code reason;
  std::optional<std::string> bytes = readFileBytes(file, reason);
  if (!bytes) {
    if (reason != std::errc::no_such_file_or_directory || missing == MissingFile::kRefused) {
      failure = "velmora: cannot read " + std::string(fileName) + ": " + reason.message();
    }
    return std::nullopt;
  }
  if (startsAsUtf16(*bytes)) {
    failure = utf16Refusal(fileName);
    return std::nullopt;
  }
  return bytes;
}

LoadedClientsFile loadClientsFile(const std::filesystem::path& file, std::string_view fileName,
                                  std::string_view purpose, MissingFile missing) {
  LoadedClientsFile loaded;
  std::optional<std::string> bytes = readClientsText(file, fileName, missing, loaded.failure);
  if (!bytes) {
    return loaded;
  }
  loaded.exists = true;
  loaded.bytes = std::move(*bytes);
  const keyvalues::Document document = keyvalues::parse(loaded.bytes);
  if (document.error) {
    loaded.failure = "velmora: cannot " + std::string(purpose) + " " + std::string(fileName) +
                     ": line " + std::to_string(document.error->line) + ": " +
                     document.error->withColumn();
    return loaded;
  }
  loaded.file = readClientsFile(document);
  return loaded;
}

}  // namespace velmora
