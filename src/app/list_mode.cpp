#include "app/list_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_list.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/path_text.hpp"

namespace velmora {

int listAdmins(const std::filesystem::path& file, std::ostream& output, std::ostream& errors) {
  const std::string name = textOfPath(file);
  const LoadedClientsFile loaded = loadClientsFile(file, name, "list", MissingFile::kRefused);
  if (!loaded.failure.empty()) {
    reportLine(errors, loaded.failure);
    return 2;
  }
  for (const std::string& line : adminTable(loaded.file)) {
    output << line << '\n';
  }
  output.flush();
  return 0;
}

}  // namespace velmora
