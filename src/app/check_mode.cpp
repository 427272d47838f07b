#include "app/check_mode.hpp"

#include <optional>
#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/path_text.hpp"

namespace velmora {

int checkClientsFile(const std::filesystem::path& file, std::ostream& output,
                     std::ostream& errors) {
  const std::string name = textOfPath(file);
  std::string failure;
  const std::optional<std::string> bytes =
      readClientsText(file, name, MissingFile::kRefused, failure);
  if (!bytes) {
    reportLine(errors, failure);
    return 2;
  }
  const CheckReport report = checkClientsText(name, *bytes);
  for (const std::string& line : report.lines) {
    output << line << '\n';
  }
  output.flush();
  return report.status;
}

}  // namespace velmora
