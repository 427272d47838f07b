#include "app/groups_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_list.hpp"
#include "clientfile/clients_file_load.hpp"
#include "text/path_text.hpp"

namespace velmora {

ExitStatus listGroups(const std::filesystem::path& file, AnswerForm form, std::ostream& output,
                      std::ostream& errors) {
  const std::string name = textOfPath(file);
  const Result<LoadedClientsFile> loaded = loadClientsFile(
      file, name, "list the groups of", MissingFile::kRefused, EntryPlaces::kSkipped);
  if (loaded.failed()) {
    return reportFailure(errors, loaded.failure(), ExitStatus::kCannotReadFile);
  }
  if (form == AnswerForm::kJson) {
    writeGroupListJson(output, loaded.value().file);
    output << '\n';
  } else {
    for (const std::string& line : groupTable(loaded.value().file)) {
      output << line << '\n';
    }
  }
  output.flush();
  return ExitStatus::kDone;
}

}  // namespace velmora
