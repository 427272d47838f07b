#include "clientfile/entry_edit.hpp"

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

void editIdentifiers(EntryEditor& editor, const EntryValues& current, const EntryPlace& place,
                     const EntryValues& wanted) {
  for (std::size_t k = 0; k < std::size(kIdentifierKinds); ++k) {
    const IdentifierKind& kind = kIdentifierKinds[k];
    const IdentifierKind& other = kIdentifierKinds[1 - k];
    const std::optional<PairAt>& at = place.*kind.at;
    const std::optional<std::string>& value = wanted.*kind.value;
    const bool takesOthersPlace = !(place.*other.at) && (wanted.*other.value).has_value();
    if (at && value) {
      if (*value != *(current.*kind.value)) {
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
                const EntryPlace& place, const EntryValues& wanted) {
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
      const PairAt& at = place.groupAt[static_cast<std::size_t>(use - file.groupsOf(index).data())];
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

}  // namespace

std::vector<TextEdit> entryEdits(std::string_view text, const ClientsFile& file, std::size_t index,
                                 const EntryValues& wanted) {
  const ClientEntry& entry = file.entries[index];
  const EntryPlace& place = file.places[index];
  EntryEditor editor(text, file, place, wanted);
  if (wanted.key != entry.facts.name) {
    editor.replaceToken(place.at.key, wanted.key);
  }
  editName(editor, entry, place, wanted);
  editIdentifiers(editor, file.valuesOf(index), place, wanted);
  editGroups(editor, file, index, place, wanted);
  return editor.take();
}

bool holdsEntry(std::string_view edited, std::size_t index, const EntryValues& wanted) {
  const ParsedClientsFile parsed = parseClientsFile(edited, EntryPlaces::kSkipped);
  const ClientsFile& file = parsed.file;
  return !parsed.document.error && index < file.entries.size() && file.valuesOf(index) == wanted;
}

}  // namespace velmora
