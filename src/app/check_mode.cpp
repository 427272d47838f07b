#include "app/check_mode.hpp"

#include <optional>
#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/file_bytes.hpp"
#include "clientfile/path_text.hpp"
#include "clientfile/text_encoding.hpp"

namespace velmora {

int checkClientsFile(const std::filesystem::path& file, std::ostream& output,
                     std::ostream& errors) {
  std::error_code failure;
  const std::optional<std::string> bytes = readFileBytes(file, failure);
  if (!bytes) {
    reportLine(errors, "velmora: cannot read " + textOfPath(file) + ": " + failure.message());
    return 2;
  }
  if (startsAsUtf16(*bytes)) {
    reportLine(errors, utf16Refusal(textOfPath(file)));
    return 2;
  }
  const CheckReport report = checkClientsText(textOfPath(file), *bytes);
  for (const std::string& line : report.lines) {
    output << line << '\n';
  }
  output.flush();
  return report.status;
}

}  // namespace velmora
