#include "clientfile/defined_groups.hpp"

#include <algorithm>

#include "roster/group_catalogue.hpp"
#include "text/letter_case.hpp"

namespace velmora {

std::string DefinedGroup::flagText() const {
  std::string text;
  for (const std::string& word : flags) {
    text.append(text.empty() ? "" : " ").append(word);
  }
  return text;
}

std::string_view groupKindOf(std::string_view kind) {
  constexpr std::string_view kKinds[] = {catalogue::kAdminKind, catalogue::kImmunityKind};
  const auto* const known =
      std::find_if(std::begin(kKinds), std::end(kKinds),
                   [kind](std::string_view k) { return sameLetterCaseAside(kind, k); });
  return known == std::end(kKinds) ? std::string_view{} : *known;
}

std::vector<std::string> flagWords(std::string_view flags) {
  std::vector<std::string> words;
  for (std::size_t at = flags.find_first_not_of(" \t"); at != std::string_view::npos;) {
    const std::size_t end = std::min(flags.find_first_of(" \t", at), flags.size());
    words.emplace_back(flags.substr(at, end - at));
    at = flags.find_first_not_of(" \t", end);
  }
  return words;
}

std::vector<DefinedGroup> definedGroupsOf(const ClientsFile& file) {
  std::vector<DefinedGroup> groups;
  for (std::size_t i = 0; i < file.definedGroups.size(); ++i) {
    const GroupUse& use = file.definedGroups[i];
    const std::string_view kind = groupKindOf(use.kind);
    if (kind.empty() || !file.definedLines[i].isValue) {
      continue;
    }
    auto group = std::find_if(groups.begin(), groups.end(), [&](const DefinedGroup& g) {
      return g.kind == kind && sameLetterCaseAside(g.name, use.group);
    });
    if (group == groups.end()) {
      group = groups.insert(groups.end(), DefinedGroup{kind, use.group, {}, use.line, {}});
    }
    const std::vector<std::string> words = flagWords(file.definedLines[i].flags);
    group->flags.insert(group->flags.end(), words.begin(), words.end());
    group->lines.push_back(i);
  }
  return groups;
}

std::size_t adminsUsing(const ClientsFile& file, std::string_view kind, std::string_view name) {
  std::size_t admins = 0;
  for (std::size_t index = 0; index < file.entries.size(); ++index) {
    const GroupUse* use = file.groupOf(index, kind);
    admins += use != nullptr && sameLetterCaseAside(use->group, name) ? 1 : 0;
  }
  return admins;
}

}  // namespace velmora
