#include "clientfile/clients_file_load.hpp"

#include <optional>
#include <system_error>

#include "clientfile/file_bytes.hpp"
#include "clientfile/key_values.hpp"
#include "clientfile/text_encoding.hpp"

namespace velmora {
namespace {

std::string cannotRead(std::string_view fileName, const std::error_code& failure) {
  return "velmora: cannot read " + std::string(fileName) + ": " + failure.message();
}

}  // namespace

LoadedClientsFile loadClientsFile(const std::filesystem::path& file, std::string_view fileName,
                                  std::string_view purpose) {
  LoadedClientsFile loaded;
  std::error_code failure;
  std::optional<std::string> bytes = readFileBytes(file, failure);
  if (!bytes) {
    if (failure != std::errc::no_such_file_or_directory) {
      loaded.failure = cannotRead(fileName, failure);
    }
    return loaded;
  }
  loaded.exists = true;
  loaded.bytes = std::move(*bytes);
  if (startsAsUtf16(loaded.bytes)) {
    loaded.failure = utf16Refusal(fileName);
    return loaded;
  }
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

std::string absenceOf(std::string_view fileName) {
  return cannotRead(fileName, std::make_error_code(std::errc::no_such_file_or_directory));
}

}  // namespace velmora
