#include "app/set_mode.hpp"

#include <string>
#include <vector>

#include "app/diagnostics.hpp"
#include "app/file_change.hpp"
#include "clientfile/admin_changes.hpp"
#include "clientfile/clients_file_load.hpp"
#include "clientfile/held_values.hpp"
#include "roster/entry_wording.hpp"
#include "roster/roster_warnings.hpp"
#include "text/path_text.hpp"

namespace velmora {

ExitStatus setAdmin(std::string_view wanted, std::span<const FieldSetting> fields,
                    const std::filesystem::path& file, const ChangeOptions& how,
                    std::ostream& output, std::ostream& diff, std::ostream& errors) {
  // What can be refused without the file is, before the file is waited for.
  for (const FieldSetting& setting : fields) {
    if (std::optional<Failure> refused = valueRefusal(setting.field, setting.value)) {
      return reportFailure(errors, *refused, ExitStatus::kUsageError);
    }
  }
  const std::string name = textOfPath(file);
  const Result<FileForChange> held = lockForChange(file, name, how, errors);
  if (held.failed()) {
    return reportFailure(errors, held.failure(), ExitStatus::kNotDone);
  }
  const std::filesystem::path& changing = held.value().path;
  const Result<LoadedClientsFile> loaded =
      loadClientsFile(changing, name, "change", MissingFile::kRefused);
  if (loaded.failed()) {
    return reportFailure(errors, loaded.failure(), ExitStatus::kNotDone);
  }
  const std::string& text = loaded.value().bytes;
  const ClientsFile& clients = loaded.value().file;
  const Result<std::size_t> match = onlyMatch(clients, wanted, name);
  if (match.failed()) {
    return reportFailure(errors, match.failure(), ExitStatus::kNotDone);
  }
  const std::size_t index = match.value();
  const ClientEntry& entry = clients.entries[index];
  AdminRecord typed;
  const Result<EntryValues> changed = valuesWith(clients, name, index, fields, typed);
  if (changed.failed()) {
    return reportFailure(errors, changed.failure(), ExitStatus::kUsageError);
  }
  const std::string label = adminLabel(index, entry.facts.name);
  const EntryValues before = clients.valuesOf(index);
  std::vector<std::string> warnings = typedTextWarnings(label, typed);
  if (changed.value() == before) {
    output << label << " in " << name << " is unchanged\n" << std::flush;
  } else {
    const Result<std::vector<TextEdit>> edits =
        entryChange(text, clients, name, index, changed.value());
    if (edits.failed()) {
      return reportFailure(errors, edits.failure(), ExitStatus::kNotDone);
    }
    if (const Result<> written = changeFile(changing, name, text, edits.value(), how.dryRun, diff);
        written.failed()) {
      return reportFailure(errors, written.failure(), ExitStatus::kNotDone);
    }
    // A dry run says what would happen, so that a preview is never taken for a change.
    output << (how.dryRun ? "would change " : "changed ") << label << " in " << name << ": "
           << changesBetween(before, changed.value()) << '\n'
           << std::flush;
    const std::vector<std::string> found = changedEntryWarnings(clients, index, changed.value());
    warnings.insert(warnings.end(), found.begin(), found.end());
  }
  for (const std::string& warning : warnings) {
    reportLine(errors, warning);
  }
  return ExitStatus::kDone;
}

}  // namespace velmora
