#include "app/apply_targets.hpp"

#include <algorithm>
#include <iterator>

#include "clientfile/roster_apply.hpp"
#include "platform/file_bytes.hpp"
#include "roster/file_value.hpp"
#include "text/filled.hpp"
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

void HeldRoster::hold(EntryValues&& admin) {
  if (!heldAsItIs(admin)) {
    AdminRecord given;
    TextField key;
    admin.key = heldText(admin.key, key);
    for (const EntryField& field : kEntryFields) {
      holdTypedText(admin, field, given);
    }
    typed.emplace_back(admins.size(), given);
  }
  admins.add(admin);
}

namespace {

Target loadTarget(const std::string& name, const std::filesystem::path& path) {
  Target target{name, path, std::nullopt, false, {}, {}};
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

}  // namespace

std::vector<Target> loadTargets(std::span<const std::string> names) {
  std::vector<Target> targets;
  targets.reserve(names.size());
  std::transform(names.begin(), names.end(), std::back_inserter(targets),
                 [](const std::string& name) { return loadTarget(name, pathFromText(name)); });
  return targets;
}

void reloadTarget(Target& target, const std::filesystem::path& locked) {
  // A file whose bytes are as they were loaded needs no second parse, which a large file feels.
  if (target.exists && !target.failure && fileHolds(locked, target.loaded.bytes)) {
    return;
  }
  target = loadTarget(target.name, locked);
}

namespace {

LetterCaseAsideIndex adminsByKey(const PackedRoster& roster) {
  std::vector<std::string_view> names(roster.size());
  for (std::size_t i = 0; i < roster.size(); ++i) {
    names[i] = roster.key(i);
  }
  return LetterCaseAsideIndex(std::move(names));
}

}  // namespace

std::optional<Failure> rosterProblem(const GivenRoster& given, std::span<const Target> targets,
                                     std::string_view rosterName) {
  const PackedRoster& roster = given.admins;
  const LetterCaseAsideIndex keys = adminsByKey(roster);
  const bool anyRead = std::any_of(targets.begin(), targets.end(),
                                   [](const Target& target) { return !target.failure; });
  const auto refused = [rosterName](std::size_t admin, std::string_view problem) {
    return Failure{std::string("velmora: cannot use the roster ")
                       .append(rosterName)
                       .append(": admin ")
                       .append(std::to_string(admin + 1))
                       .append(problem)};
  };
  // Groups repeat from admin to admin: each is looked for in the files once.
  std::vector<std::pair<std::string_view, std::string_view>> defined;
  for (std::size_t i = 0; i < roster.size(); ++i) {
    const std::string key(roster.key(i));
    if (const std::size_t first = keys.firstLike(i); first != i) {
      return refused(
          i, " has the same key as admin " + std::to_string(first + 1) + ", \"" + key + "\"");
    }
    for (const EntryField& field : kEntryFields) {
      const std::optional<std::string_view> group = roster.value(i, field);
      if (!anyRead || field.groupKind.empty() || !group ||
          std::find(defined.begin(), defined.end(), std::pair(field.groupKind, *group)) !=
              defined.end()) {
        continue;
      }
      const std::string held = fileValue(*group);
      if (rosterGroupNamed(given.groups, field.groupKind, held) == nullptr &&
          std::none_of(targets.begin(), targets.end(), [&](const Target& target) {
            return !target.failure && target.loaded.file.defines(field.groupKind, held);
          })) {
        return refused(i, filled(R"( (%s): "%s" group "%s" is defined in none of the files)",
                                 {key, field.groupKind, *group}));
      }
      defined.emplace_back(field.groupKind, *group);
    }
  }
  return std::nullopt;
}

}  // namespace velmora
