#include "app/remove_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "clientfile/admin_changes.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/clients_file_remove.hpp"
#include "roster/entry_wording.hpp"
#include "text/path_text.hpp"

namespace velmora {

ExitStatus removeAdmins(std::string_view wanted, const std::filesystem::path& file,
                        const ChangeOptions& how, std::ostream& output, std::ostream& diff,
                        std::ostream& errors) {
  const std::string name = textOfPath(file);
  const Result<FileForChange> held = lockForChange(file, name, how, errors);
  if (held.failed()) {
    return reportFailure(errors, held.failure(), ExitStatus::kNotDone);
  }
  const std::filesystem::path& changed = held.value().path;
  const Result<LoadedClientsFile> loaded =
      loadClientsFile(changed, name, "remove from", MissingFile::kRefused);
  if (loaded.failed()) {
    return reportFailure(errors, loaded.failure(), ExitStatus::kNotDone);
  }
  const ClientsFile& clients = loaded.value().file;
  const Removal removal = withoutAdmins(loaded.value().bytes, clients, wanted);
  if (removal.removed.empty()) {
    return reportFailure(errors, noMatchFailure(wanted, name), ExitStatus::kNotDone);
  }
  if (const Result<> written =
          changeFile(changed, name, loaded.value().bytes, removal.edits, how.dryRun, diff);
      written.failed()) {
    return reportFailure(errors, written.failure(), ExitStatus::kNotDone);
  }
  for (const std::size_t index : removal.removed) {
    output << (how.dryRun ? "would remove " : "removed ")
           << adminLabel(index, clients.entries[index].facts.name) << " from " << name << '\n';
  }
  output.flush();
  return ExitStatus::kDone;
}

}  // namespace velmora
