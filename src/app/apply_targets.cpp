#include "app/apply_targets.hpp"

#include <algorithm>
#include <unordered_map>

#include "clientfile/roster_apply.hpp"
#include "roster/file_value.hpp"
#include "text/letter_case.hpp"
#include "text/path_text.hpp"

namespace velmora {

std::vector<RosterAdmin> heldRoster(std::span<const EntryValues> given) {
  std::vector<RosterAdmin> admins(given.size());
  for (std::size_t i = 0; i < given.size(); ++i) {
    RosterAdmin& admin = admins[i];
    admin.values = given[i];
    TextField key;
    admin.values.key = heldText(given[i].key, key);
    for (const EntryField& field : kEntryFields) {
      holdTypedText(admin.values, field, admin.typed);
    }
  }
  return admins;
}

Target loadTarget(const std::string& name) {
  Target target{name, pathFromText(name), std::nullopt, false, {}};
  Result<LoadedClientsFile> loaded =
      loadClientsFile(target.path, name, "apply the roster to", MissingFile::kAllowed);
  if (loaded.failed()) {
    target.failure = loaded.failure();
    return target;
  }
  target.exists = loaded.value().exists;
  target.loaded = target.exists ? std::move(loaded.value()) : newClientsFile();
  target.failure = rosterRefusal(target.loaded.file, name);
  return target;
}

void reloadTarget(Target& target) {
  // A file whose bytes are as they were loaded needs no second parse, which a large file feels.
  if (target.exists && !target.failure) {
    const Result<std::string> bytes = readClientsText(target.path, target.name);
    if (!bytes.failed() && bytes.value() == target.loaded.bytes) {
      return;
    }
  }
  target = loadTarget(target.name);
}

std::optional<Failure> rosterProblem(std::span<const RosterAdmin> roster,
                                     std::span<const Target> targets, std::string_view rosterName) {
  const std::string cannot = "velmora: cannot use the roster " + std::string(rosterName) + ": ";
  std::unordered_map<std::string, std::size_t> keys;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    const EntryValues& admin = roster[i].values;
    const auto [first, isNew] = keys.emplace(foldedCase(admin.key), i);
    if (!isNew) {
      return Failure{cannot + "admin " + std::to_string(i + 1) + " has the same key as admin " +
                     std::to_string(first->second + 1) + ", \"" + admin.key + "\""};
    }
    for (const EntryField& field : kEntryFields) {
      const std::optional<std::string>& group = admin.*field.member;
      if (!field.groupKind.empty() && group &&
          std::none_of(targets.begin(), targets.end(), [&](const Target& target) {
            return !target.failure &&
                   target.loaded.file.defines(field.groupKind, fileValue(*group));
          })) {
        return Failure{cannot + "admin " + std::to_string(i + 1) + " (" + admin.key + "): \"" +
                       std::string(field.groupKind) + "\" group \"" + *group +
                       "\" is defined in none of the files"};
      }
    }
  }
  return std::nullopt;
}

}  // namespace velmora
