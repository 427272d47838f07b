#include "clientfile/entry_edit.hpp"

#include <algorithm>
#include <optional>

#include "clientfile/entry_editor.hpp"

namespace velmora {
namespace {

void editName(EntryEditor& editor, const ClientEntry& entry, const EntryPlace& place,
              const EntryValues& wanted) {
  if (place.nameAt && !wanted.name) {
    editor.remove(*place.nameAt, kNameComment);
  } else if (place.nameAt && *wanted.name != *entry.realName) {
    editor.replaceToken(place.nameAt->value, *wanted.name);
  } else if (!place.nameAt && wanted.name) {
    editor.addFirst(place.at, EntryPart::kName);
  }
}

void editIdentifiers(EntryEditor& editor, const EntryFacts& current, const EntryPlace& place,
                     const EntryValues& wanted) {
  for (std::size_t k = 0; k < std::size(kIdentifierKinds); ++k) {
    const IdentifierKind& kind = kIdentifierKinds[k];
    const IdentifierKind& other = kIdentifierKinds[1 - k];
    const std::optional<PairAt>& at = place.*kind.at;
    const std::optional<std::string>& value = wanted.*kind.value;
    const bool takesOthersPlace = !(place.*other.at) && (wanted.*other.value).has_value();
    if (at && value) {
      if (*value != *(current.*kind.held)) {
        editor.replaceToken(at->value, *value);
      }
    } else if (at && takesOthersPlace) {
      editor.changeKind(*at, kind, other);
    } else if (at) {
      editor.remove(*at, kind.comment);
    } else if (value && !((place.*other.at).has_value() && !(wanted.*other.value))) {
      if (place.nameAt && wanted.name) {
        editor.addAfter(place.nameAt->end, kind.part);
      } else {
        editor.addFirst(place.at, kind.part);
      }
    }
  }
}

void editGroups(EntryEditor& editor, const ClientsFile& file, std::size_t index,
                const PlacedEntry& placed, const EntryValues& wanted) {
  const EntryPlace& place = placed.place;
  if (!place.groupsAt) {
    if (wanted.adminGroup || wanted.immunityGroup) {
      editor.addLast(place.at, EntryPart::kGroups);
    }
    return;
  }
  for (const GroupKind& kind : kGroupKinds) {
    const GroupUse* use = file.groupOf(index, kind.key);
    const std::optional<std::string>& group = wanted.*kind.value;
    if (use != nullptr) {
      const PairAt& at =
          placed.groupPlaces[static_cast<std::size_t>(use - file.groupsOf(index).data())];
      if (!group) {
        editor.remove(at, {});
      } else if (use->group != *group) {
        editor.changeGroup(*use, at, kind, *group);
      }
    } else if (group && kind.comesFirst) {
      editor.addFirst(*place.groupsAt, kind.part);
    } else if (group) {
      editor.addLast(*place.groupsAt, kind.part);
    }
  }
}

// The entry's text with its edits made, and a line end, after out; false for an entry that is
// no block, which no change can make hold what an entry holds.
bool appendEdited(std::string& out, std::string_view text, const ClientsFile& file,
                  const EntryChange& change) {
  if (!file.entries[change.index].isBlock) {
    return false;
  }
  const BlockAt& at = file.blocks[change.index];
  const std::span<const TextEdit> edits = change.edits;
  std::size_t kept = edits.empty() ? at.key.begin : std::min(at.key.begin, edits.front().begin);
  const std::size_t end = edits.empty() ? at.close + 1 : std::max(at.close + 1, edits.back().end);
  for (const TextEdit& edit : edits) {
    out.append(text.substr(kept, edit.begin - kept)).append(edit.replacement);
    kept = edit.end;
  }
  out.append(text.substr(kept, end - kept)).append("\n");
  return true;
}

bool allHold(std::string_view text, const ClientsFile& file, std::span<const EntryChange> changes) {
  std::string entries;
  if (!std::all_of(changes.begin(), changes.end(), [&](const EntryChange& change) {
        return appendEdited(entries, text, file, change);
      })) {
    return false;
  }
  const std::optional<ClientsFile> read = parseEntries(entries);
  if (!read || read->entries.size() != changes.size()) {
    return false;
  }
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (!read->holds(i, *changes[i].wanted)) {
      return false;
    }
  }
  return true;
}

}  // namespace

EntryEdits entryEdits(std::string_view text, const ClientsFile& file, const FileLayout& layout,
                      std::size_t index, const EntryValues& wanted) {
  const ClientEntry& entry = file.entries[index];
  const PlacedEntry placed = placeOf(text, file, index);
  const EntryPlace& place = placed.place;
  EntryEditor editor(text, layout, place, wanted);
  if (wanted.key != entry.facts.name) {
    editor.replaceToken(place.at.key, wanted.key);
  }
  editName(editor, entry, place, wanted);
  editIdentifiers(editor, entry.facts, place, wanted);
  editGroups(editor, file, index, placed, wanted);
  return {editor.take(), editor.reshapes()};
}

std::optional<std::size_t> firstChangeNotHolding(std::string_view text, const ClientsFile& file,
                                                 std::span<const EntryChange> changes) {
  if (allHold(text, file, changes)) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (!allHold(text, file, changes.subspan(i, 1))) {
      return i;
    }
  }
  return std::nullopt;
}

bool editedEntryHolds(std::string_view text, const ClientsFile& file, std::size_t index,
                      std::span<const TextEdit> edits, const EntryValues& wanted) {
  const EntryChange change{index, edits, &wanted};
  return !firstChangeNotHolding(text, file, {&change, 1});
}

}  // namespace velmora
