#include "clientfile/entry_edit.hpp"

#include <algorithm>

#include "clientfile/client_file.hpp"
#include "clientfile/file_layout.hpp"
#include "roster/group_catalogue.hpp"
#include "text/character_classes.hpp"
#include "text/text_lines.hpp"

namespace velmora {
namespace {

using keyvalues::Span;

// Whether value can stand without quotes where a token without them stood: the reader ends
// such a token at white space, a quote or a brace, and takes "//" for a comment and a
// bracket for the start of a condition.
bool canStandUnquoted(std::string_view value) {
  return !value.empty() && !value.starts_with('/') &&
         std::none_of(value.begin(), value.end(), [](char c) {
           return isWhiteSpace(c) || isControl(c) || c == '"' || c == '{' || c == '}' || c == '[';
         });
}

std::string inQuotes(std::string_view value) {
  return std::string("\"").append(value).append("\"");
}

// value as a token in the quoting of the token whose place it takes.
std::string tokenFor(std::string_view value, bool wasQuoted) {
  return !wasQuoted && canStandUnquoted(value) ? std::string(value) : inQuotes(value);
}

struct IdentifierKind {
  std::optional<std::string> EntryValues::*value;
  std::optional<PairAt> EntryPlace::*at;
  std::string_view key;
  std::string_view comment;  // velmora's, on the line above
  EntryPart part;
};

constexpr IdentifierKind kIdentifierKinds[] = {
    {&EntryValues::steamId, &EntryPlace::steamAt, fields::kSteam, kSteamIdComment,
     EntryPart::kSteamId},
    {&EntryValues::ipAddress, &EntryPlace::ipAt, fields::kIp, kIpAddressComment,
     EntryPart::kIpAddress},
};

struct GroupKind {
  std::optional<std::string> EntryValues::*value;
  std::string_view key;
  EntryPart part;
  bool comesFirst;  // velmora writes the admin group before the immunity group
};

constexpr GroupKind kGroupKinds[] = {
    {&EntryValues::adminGroup, catalogue::kAdminKind, EntryPart::kAdminGroup, true},
    {&EntryValues::immunityGroup, catalogue::kImmunityKind, EntryPart::kImmunityGroup, false},
};

// The key and value of a part that is one pair.
struct PartKey {
  EntryPart part;
  std::string_view key;
  std::optional<std::string> EntryValues::*value;
};

constexpr PartKey kPartKeys[] = {
    {EntryPart::kName, fields::kName, &EntryValues::name},
    {EntryPart::kSteamId, fields::kSteam, &EntryValues::steamId},
    {EntryPart::kIpAddress, fields::kIp, &EntryValues::ipAddress},
    {EntryPart::kAdminGroup, catalogue::kAdminKind, &EntryValues::adminGroup},
    {EntryPart::kImmunityGroup, catalogue::kImmunityKind, &EntryValues::immunityGroup},
};

const PartKey& partKeyOf(EntryPart part) {
  return *std::find_if(std::begin(kPartKeys), std::end(kPartKeys),
                       [part](const PartKey& key) { return key.part == part; });
}

// The line velmora writes for group, without its line end and indentation.
std::string groupLine(const GroupKind& kind, std::string_view group) {
  EntryValues entry;
  entry.*kind.value = std::string(group);
  const std::string line = entryPartText(kind.part, entry, "\n");
  return line.substr(line.find_first_not_of("\n\t"));
}

// Collects the edits of one entry; what it adds is written by the writer, as --add writes.
class EntryEditor {
 public:
  EntryEditor(std::string_view text, const ClientsFile& file, const EntryPlace& place,
              const EntryValues& wanted)
      : text_(text),
        wanted_(wanted),
        lineEnd_(lineEndOf(text)),
        indentation_(indentationOf(text, file, place)) {}

  void replace(std::size_t begin, std::size_t end, std::string replacement) {
    edits_.push_back({begin, end, std::move(replacement)});
  }
  void replaceToken(const Span& span, std::string_view value) {
    replace(span.begin, span.end, tokenFor(value, text_[span.begin] == '"'));
  }
  void remove(const PairAt& pair, std::string_view comment) {
    edits_.push_back(removal(text_, pair.key.begin, pair.end, comment));
  }

  // The pair of the other kind of identifier in the place of the one at pair, with velmora's
  // comment above it following the kind.
  void changeKind(const PairAt& pair, const IdentifierKind& from, const IdentifierKind& to) {
    const std::size_t lineStart = startOfLine(text_, pair.key.begin);
    const std::size_t blanks = text_.substr(lineStart).find_first_not_of(" \t");
    if (lineStart > 0 && lineStart + blanks == pair.key.begin) {
      const std::size_t above = startOfLine(text_, lineStart - 1);
      const std::size_t comment = above + text_.substr(above).find_first_not_of(" \t");
      if (text_.substr(comment, endOfLineContent(text_, above) - comment) == from.comment) {
        replace(comment, comment + from.comment.size(), std::string(to.comment));
      }
    }
    replaceToken(pair.key, to.key);
    replaceToken(pair.value, *(wanted_.*to.value));
  }

  void changeGroup(const GroupUse& use, const PairAt& at, const GroupKind& kind,
                   std::string_view group) {
    const std::string_view written = text_.substr(at.key.begin, at.value.end - at.key.begin);
    if (written == groupLine(kind, use.group)) {
      replace(at.key.begin, at.value.end, groupLine(kind, group));
    } else {
      replaceToken(at.value, group);
    }
  }

  // part on lines of its own after anchor's line when nothing but a comment follows anchor
  // there; otherwise on that line, just after anchor.
  void addAfter(std::size_t anchor, EntryPart part) {
    if (onlyCommentAfter(text_, anchor)) {
      insert(endOfLineContent(text_, anchor), ownLines(part));
    } else {
      insert(anchor, std::string(" ").append(inlineText(part)));
    }
  }
  void addFirst(const BlockAt& block, EntryPart part) { addAfter(block.open + 1, part); }
  void addLast(const BlockAt& block, EntryPart part) {
    const std::size_t lineStart = startOfLine(text_, block.close);
    const bool braceBeginsLine =
        lineStart > block.open &&
        text_.substr(lineStart, block.close - lineStart).find_first_not_of(" \t") ==
            std::string_view::npos;
    if (braceBeginsLine) {
      insert(insertionPoint(text_, block.close), ownLines(part));
      return;
    }
    std::size_t at = block.close;
    while (at > block.open + 1 && isWhiteSpace(text_[at - 1])) {
      --at;
    }
    insert(at, std::string(" ").append(inlineText(part)));
  }

  std::vector<TextEdit> take() { return inTextOrder(text_, std::move(edits_)); }

 private:
  void insert(std::size_t at, std::string text) { edits_.push_back({at, at, std::move(text)}); }

  [[nodiscard]] std::string ownLines(EntryPart part) const {
    return reindented(entryPartText(part, wanted_, lineEnd_), indentation_);
  }

  // The part on one line, as an entry on one line holds it: its key and value, or the groups
  // block with its groups.
  [[nodiscard]] std::string inlineText(EntryPart part) const {
    const auto pair = [this](const PartKey& key) {
      return inQuotes(key.key) + " " + inQuotes(*(wanted_.*key.value));
    };
    if (part != EntryPart::kGroups) {
      return pair(partKeyOf(part));
    }
    std::string text = inQuotes(catalogue::kGroupsKey) + " {";
    for (const GroupKind& kind : kGroupKinds) {
      if (wanted_.*kind.value) {
        text.append(" ").append(pair(partKeyOf(kind.part)));
      }
    }
    return text + " }";
  }

  std::string_view text_;
  const EntryValues& wanted_;
  std::string_view lineEnd_;
  Indentation indentation_;
  std::vector<TextEdit> edits_;
};

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
