#include "clientfile/entry_editor.hpp"

#include <algorithm>

#include "text/character_classes.hpp"
#include "text/text_lines.hpp"

namespace velmora {
namespace {

using keyvalues::Span;

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
  const std::string line = groupPiece(kind.part, group);
  return line.substr(line.find_first_not_of("\n\t"));
}

}  // namespace

EntryEditor::EntryEditor(std::string_view text, const FileLayout& layout, const EntryPlace& place,
                         const EntryValues& wanted)
    : text_(text),
      wanted_(wanted),
      lineEnd_(layout.lineEnd),
      indentation_(indentationOf(text, layout, place)) {}

void EntryEditor::replace(std::size_t begin, std::size_t end, std::string replacement) {
  edits_.push_back({begin, end, std::move(replacement)});
}

void EntryEditor::insert(std::size_t at, std::string text) {
  edits_.push_back({at, at, std::move(text)});
  reshapes_ = true;
}

void EntryEditor::replaceToken(const Span& span, std::string_view value) {
  replace(span.begin, span.end, tokenFor(value, text_[span.begin] == '"'));
}

void EntryEditor::remove(const PairAt& pair, std::string_view comment) {
  edits_.push_back(removal(text_, pair.key.begin, pair.end, comment));
  reshapes_ = true;
}

void EntryEditor::changeKind(const PairAt& pair, const IdentifierKind& from,
                             const IdentifierKind& to) {
  // A key of the new kind may come before it in the entry, as a block the reader passes over.
  reshapes_ = true;
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

void EntryEditor::changeGroup(const GroupUse& use, const PairAt& at, const GroupKind& kind,
                              std::string_view group) {
  const std::string_view written = text_.substr(at.key.begin, at.value.end - at.key.begin);
  if (written == groupLine(kind, use.group)) {
    replace(at.key.begin, at.value.end, groupLine(kind, group));
  } else {
    replaceToken(at.value, group);
  }
}

void EntryEditor::addAfter(std::size_t anchor, EntryPart part) {
  if (onlyCommentAfter(text_, anchor)) {
    insert(endOfLineContent(text_, anchor), ownLines(part));
  } else {
    insert(anchor, std::string(" ").append(inlineText(part)));
  }
}

void EntryEditor::addFirst(const BlockAt& block, EntryPart part) { addAfter(block.open + 1, part); }

void EntryEditor::addLast(const BlockAt& block, EntryPart part) {
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

std::vector<TextEdit> EntryEditor::take() { return inTextOrder(text_, std::move(edits_)); }

std::string EntryEditor::ownLines(EntryPart part) const {
  return reindented(entryPartText(part, wanted_, lineEnd_), indentation_);
}

// The part on one line, as an entry on one line holds it: its key and value, or the groups
// block with its groups.
std::string EntryEditor::inlineText(EntryPart part) const {
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

}  // namespace velmora
