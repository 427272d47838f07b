#include "app/remove_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "clientfile/path_text.hpp"
#include "clientfile/safe_replace.hpp"
#include "roster/roster_check.hpp"

namespace velmora {

int removeAdmins(std::string_view wanted, const std::filesystem::path& file, std::ostream& output,
                 std::ostream& errors) {
  const std::string name = textOfPath(file);
  const LoadedClientsFile loaded =
      loadClientsFile(file, name, "remove from", MissingFile::kRefused);
  if (!loaded.failure.empty()) {
    reportLine(errors, loaded.failure);
    return 1;
  }
  const Removal removal = withoutAdmins(loaded.bytes, loaded.file, wanted);
  if (removal.removed.empty()) {
    reportLine(errors, "velmora: no admin matches \"" + shown(wanted) + "\" in " + name);
    return 1;
  }
  const Replacement replacement = replaceFileContents(file, removal.text);
  if (replacement.failure) {
    reportLine(errors, describeFailure(replacement, name));
    return 1;
  }
  for (const std::size_t index : removal.removed) {
    output << "removed " << adminLabel(index, loaded.file.entries[index].facts.name) << " from "
           << name << '\n';
  }
  output.flush();
  return 0;
}

}  // namespace velmora
