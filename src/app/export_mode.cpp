#include "app/export_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_list.hpp"
#include "clientfile/clients_file_load.hpp"
#include "text/path_text.hpp"

namespace velmora {

ExitStatus exportRoster(const std::filesystem::path& file, std::ostream& output,
                        std::ostream& errors) {
  const std::string name = textOfPath(file);
  const Result<LoadedClientsFile> loaded =
      loadClientsFile(file, name, "export", MissingFile::kRefused, EntryPlaces::kSkipped);
  if (loaded.failed()) {
    return reportFailure(errors, loaded.failure(), ExitStatus::kCannotReadFile);
  }
  // Each part as its own mode writes it, so that the three answers stay one form.
  output << R"({"admins":)";
  writeAdminListJson(output, loaded.value().file);
  output << R"(,"groups":)";
  writeGroupListJson(output, loaded.value().file);
  output << "}\n" << std::flush;
  return ExitStatus::kDone;
}

}  // namespace velmora
