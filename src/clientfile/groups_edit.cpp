#include "clientfile/groups_edit.hpp"

#include <algorithm>

#include "roster/group_catalogue.hpp"
#include "text/letter_case.hpp"

namespace velmora {
namespace {

// velmora's comment above the "groups" section, without its indentation.
const std::string_view kSectionComment =
    catalogue::kGlobalGroups[0].substr(catalogue::kGlobalGroups[0].find("//"));

bool sameGroup(const DefinedGroup& defined, const RosterGroup& given) {
  return defined.kind == given.kind && sameLetterCaseAside(defined.name, given.name);
}

// A group's line as velmora writes a pair, beginning with its line end.
std::string groupLine(const RosterGroup& group, std::string_view indentation,
                      std::string_view lineEnd) {
  return std::string(lineEnd)
      .append(indentation)
      .append(inQuotes(group.name))
      .append("\t")
      .append(inQuotes(group.flags));
}

// The indentation of the first of starts that begins its line; else outer and one level more.
std::string innerIndentation(std::string_view text, std::span<const std::size_t> starts,
                             std::size_t outer, std::string_view level) {
  for (const std::size_t start : starts) {
    if (const std::string_view own = indentationBefore(text, start); !own.empty()) {
      return std::string(own);
    }
  }
  return std::string(indentationBefore(text, outer)).append(level);
}

// One level of the "groups" section: what its kind blocks add to it where both begin their
// lines, else what the file's entries add to "players".
std::string sectionLevel(std::string_view text, const ClientsFile& file, const FileLayout& layout) {
  const std::string_view section =
      file.groupsAt ? indentationBefore(text, file.groupsAt->key.begin) : std::string_view{};
  for (const KindBlockAt& block : file.kindBlocks) {
    const std::string_view kind = indentationBefore(text, block.at.key.begin);
    if (!section.empty() && kind.size() > section.size() && kind.starts_with(section)) {
      return levelBetween(section, kind);
    }
  }
  return layout.indentation.level;
}

// The kind block of the section that holds kind's groups, the first as the server looks keys
// up; null when there is none.
const KindBlockAt* kindBlockOf(const ClientsFile& file, std::string_view kind) {
  const auto block =
      std::find_if(file.kindBlocks.begin(), file.kindBlocks.end(),
                   [kind](const KindBlockAt& b) { return groupKindOf(b.kind) == kind; });
  return block == file.kindBlocks.end() ? nullptr : &*block;
}

// The roster groups of plan to add, by kind, in the order each kind first comes.
std::vector<std::pair<std::string_view, std::vector<const RosterGroup*>>> addedByKind(
    const GroupsPlan& plan, std::span<const RosterGroup> roster) {
  std::vector<std::pair<std::string_view, std::vector<const RosterGroup*>>> kinds;
  for (const std::size_t index : plan.added) {
    const RosterGroup& group = roster[index];
    auto kind = std::find_if(kinds.begin(), kinds.end(),
                             [&group](const auto& k) { return k.first == group.kind; });
    if (kind == kinds.end()) {
      kind = kinds.insert(kinds.end(), {group.kind, {}});
    }
    kind->second.push_back(&group);
  }
  return kinds;
}

// A kind block with its groups, each line beginning with its line end.
std::string kindBlock(std::string_view kind, std::span<const RosterGroup* const> groups,
                      std::string_view indentation, std::string_view level,
                      std::string_view lineEnd) {
  std::string block = std::string(lineEnd).append(indentation).append(inQuotes(kind));
  block.append(lineEnd).append(indentation).append("{");
  const std::string inner = std::string(indentation).append(level);
  for (const RosterGroup* group : groups) {
    block += groupLine(*group, inner, lineEnd);
  }
  return block.append(lineEnd).append(indentation).append("}");
}

}  // namespace

const DefinedGroup* GroupsPlan::removes(std::string_view kind, std::string_view name) const {
  const auto index = std::find_if(removed.begin(), removed.end(), [&](std::size_t d) {
    return defined[d].kind == kind && sameLetterCaseAside(defined[d].name, name);
  });
  return index == removed.end() ? nullptr : &defined[*index];
}

std::vector<GroupNamed> GroupsPlan::addedNames(std::span<const RosterGroup> roster) const {
  std::vector<GroupNamed> names(added.size());
  std::transform(added.begin(), added.end(), names.begin(), [roster](std::size_t r) {
    return GroupNamed{roster[r].kind, roster[r].name};
  });
  return names;
}

std::vector<GroupNamed> GroupsPlan::changedNames() const {
  std::vector<GroupNamed> names(changed.size());
  std::transform(changed.begin(), changed.end(), names.begin(), [this](const auto& change) {
    return GroupNamed{defined[change.first].kind, defined[change.first].name};
  });
  return names;
}

std::vector<GroupNamed> GroupsPlan::removedNames() const {
  std::vector<GroupNamed> names(removed.size());
  std::transform(removed.begin(), removed.end(), names.begin(), [this](std::size_t d) {
    return GroupNamed{defined[d].kind, defined[d].name};
  });
  return names;
}

void StillUsed::check(std::string_view kind, std::string_view group, std::string_view admin) {
  if (found_ || plan_.removed.empty()) {
    return;
  }
  if (const DefinedGroup* removed = plan_.removes(kind, group)) {
    found_ = {removed, std::string(admin)};
  }
}

void StillUsed::check(const EntryValues& values, std::string_view admin) {
  for (const EntryField& field : kEntryFields) {
    if (!field.groupKind.empty() && values.*field.member) {
      check(field.groupKind, *(values.*field.member), admin);
    }
  }
}

std::optional<Failure> StillUsed::refusal(std::string_view fileName) const {
  if (!found_) {
    return std::nullopt;
  }
  const auto& [group, admin] = *found_;
  return Failure{"velmora: cannot apply the roster to " + std::string(fileName) + ": line " +
                 std::to_string(group->line) + ": " + admin + " still has the \"" +
                 std::string(group->kind) + "\" group \"" + group->name +
                 "\", which the roster leaves out, so the group is not taken out"};
}

GroupsPlan planGroups(const ClientsFile& file, std::span<const RosterGroup> roster, bool prune) {
  GroupsPlan plan{definedGroupsOf(file), {}, {}, {}};
  std::vector<bool> named(plan.defined.size());
  for (std::size_t r = 0; r < roster.size(); ++r) {
    const auto match = std::find_if(plan.defined.begin(), plan.defined.end(),
                                    [&](const DefinedGroup& d) { return sameGroup(d, roster[r]); });
    if (match == plan.defined.end()) {
      plan.added.push_back(r);
      continue;
    }
    const auto d = static_cast<std::size_t>(match - plan.defined.begin());
    named[d] = true;
    if (match->flags != flagWords(roster[r].flags)) {
      plan.changed.emplace_back(d, r);
    }
  }
  for (std::size_t d = 0; prune && d < plan.defined.size(); ++d) {
    if (!named[d]) {
      plan.removed.push_back(d);
    }
  }
  return plan;
}

std::vector<TextEdit> groupEdits(std::string_view text, const ClientsFile& file,
                                 const FileLayout& layout, const GroupsPlan& plan,
                                 std::span<const RosterGroup> roster) {
  std::vector<TextEdit> edits;
  const auto removeLine = [&](std::size_t line) {
    const PairAt& at = file.definedLines[line].at;
    edits.push_back(removal(text, at.key.begin, at.end, {}));
  };
  for (const auto& [d, r] : plan.changed) {
    const std::vector<std::size_t>& lines = plan.defined[d].lines;
    const keyvalues::Span& flags = file.definedLines[lines.front()].at.value;
    edits.push_back({flags.begin, flags.end, tokenFor(roster[r].flags, text[flags.begin] == '"')});
    std::for_each(lines.begin() + 1, lines.end(), removeLine);
  }
  for (const std::size_t d : plan.removed) {
    std::for_each(plan.defined[d].lines.begin(), plan.defined[d].lines.end(), removeLine);
  }
  const std::string_view lineEnd = layout.lineEnd;
  const std::string level = sectionLevel(text, file, layout);
  std::vector<std::size_t> kindStarts;
  std::transform(file.kindBlocks.begin(), file.kindBlocks.end(), std::back_inserter(kindStarts),
                 [](const KindBlockAt& block) { return block.at.key.begin; });
  std::string newKinds;
  std::string kindIndentation;
  if (file.groupsAt) {
    kindIndentation = innerIndentation(text, kindStarts, file.groupsAt->key.begin, level);
  } else {
    kindIndentation = std::string(indentationBefore(text, file.playersOffset)).append(level);
  }
  for (const auto& [kind, groups] : addedByKind(plan, roster)) {
    const KindBlockAt* block = kindBlockOf(file, kind);
    if (block == nullptr) {
      newKinds += kindBlock(kind, groups, kindIndentation, level, lineEnd);
      continue;
    }
    std::vector<std::size_t> lineStarts;
    for (const GroupLineAt& line : file.definedLines) {
      const std::size_t start = line.at.key.begin;
      if (start > block->at.open && start < block->at.close) {
        lineStarts.push_back(start);
      }
    }
    const std::string indentation = innerIndentation(text, lineStarts, block->at.key.begin, level);
    std::string lines;
    for (const RosterGroup* group : groups) {
      lines += groupLine(*group, indentation, lineEnd);
    }
    const std::size_t at = insertionPoint(text, block->at.close);
    edits.push_back({at, at, std::move(lines)});
  }
  if (newKinds.empty()) {
    return edits;
  }
  if (file.groupsAt) {
    const std::size_t at = insertionPoint(text, file.groupsAt->close);
    edits.push_back({at, at, std::move(newKinds)});
    return edits;
  }
  // A file without a "groups" section gets one, as velmora writes it, after the players.
  const std::string section(indentationBefore(text, file.playersOffset));
  std::string lines = std::string(lineEnd).append(section).append(kSectionComment);
  lines.append(lineEnd).append(section).append(inQuotes(catalogue::kGroupsKey));
  lines.append(lineEnd).append(section).append("{").append(newKinds);
  lines.append(lineEnd).append(section).append("}");
  const std::size_t at = insertionPoint(text, file.rootClose);
  edits.push_back({at, at, std::move(lines)});
  return edits;
}

}  // namespace velmora
