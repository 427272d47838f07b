#include "app/apply_targets.hpp"

#include <algorithm>
#include <iterator>

#include "clientfile/roster_apply.hpp"
#include "roster/file_value.hpp"
#include "text/letter_case_index.hpp"
#include "text/path_text.hpp"

namespace velmora {

namespace {

// Whether every text of admin is held as it was given.
bool heldAsItIs(const EntryValues& admin) {
  return heldAsTyped(admin.key) &&
         std::all_of(std::begin(kEntryFields), std::end(kEntryFields), [&admin](const auto& f) {
           const std::optional<std::string>& text = admin.*f.member;
           return f.typed == nullptr || !text || heldAsTyped(*text);
         });
}

}  // namespace

HeldRoster heldRoster(std::vector<EntryValues> given) {
  HeldRoster roster{std::move(given), {}};
  for (std::size_t i = 0; i < roster.values.size(); ++i) {
    EntryValues& admin = roster.values[i];
    if (heldAsItIs(admin)) {
      continue;
    }
    AdminRecord typed;
    TextField key;
    admin.key = heldText(admin.key, key);
    for (const EntryField& field : kEntryFields) {
      holdTypedText(admin, field, typed);
    }
    roster.typed.emplace_back(i, typed);
  }
  return roster;
}

Target loadTarget(const std::string& name) {
  Target target{name, pathFromText(name), std::nullopt, false, {}, false, {}};
  Result<LoadedClientsFile> loaded =
      loadClientsFile(target.path, name, "apply the roster to", MissingFile::kAllowed);
  if (loaded.failed()) {
    target.failure = loaded.failure();
    return target;
  }
  target.exists = loaded.value().exists;
  target.loaded = target.exists ? std::move(loaded.value()) : newClientsFile();
  target.keys = entriesByKey(target.loaded.file);
  target.failure = rosterRefusal(target.loaded.file, target.keys, name);
  return target;
}

std::vector<Target> loadTargets(std::span<const std::string> names) {
  std::vector<Target> targets;
  targets.reserve(names.size());
  std::transform(names.begin(), names.end(), std::back_inserter(targets), loadTarget);
  return targets;
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

LetterCaseAsideIndex adminsByKey(std::span<const EntryValues> roster) {
  std::vector<std::string_view> names(roster.size());
  std::transform(roster.begin(), roster.end(), names.begin(),
                 [](const EntryValues& admin) { return std::string_view(admin.key); });
  return LetterCaseAsideIndex(std::move(names));
}

std::optional<Failure> rosterProblem(std::span<const EntryValues> roster,
                                     const LetterCaseAsideIndex& keys,
                                     std::span<const Target> targets, std::string_view rosterName) {
  const std::string cannot = "velmora: cannot use the roster " + std::string(rosterName) + ": ";
  // Groups repeat from admin to admin: each is looked for in the files once.
  std::vector<std::pair<std::string_view, std::string_view>> defined;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    const EntryValues& admin = roster[i];
    if (const std::size_t first = keys.firstLike(i); first != i) {
      return Failure{cannot + "admin " + std::to_string(i + 1) + " has the same key as admin " +
                     std::to_string(first + 1) + ", \"" + admin.key + "\""};
    }
    for (const EntryField& field : kEntryFields) {
      const std::optional<std::string>& group = admin.*field.member;
      if (field.groupKind.empty() || !group ||
          std::find(defined.begin(), defined.end(),
                    std::pair(field.groupKind, std::string_view(*group))) != defined.end()) {
        continue;
      }
      if (std::none_of(targets.begin(), targets.end(), [&](const Target& target) {
            return !target.failure &&
                   target.loaded.file.defines(field.groupKind, fileValue(*group));
          })) {
        return Failure{cannot + "admin " + std::to_string(i + 1) + " (" + admin.key + "): \"" +
                       std::string(field.groupKind) + "\" group \"" + *group +
                       "\" is defined in none of the files"};
      }
      defined.emplace_back(field.groupKind, *group);
    }
  }
  return std::nullopt;
}

}  // namespace velmora
