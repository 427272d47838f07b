#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/client_file.hpp"
#include "clientfile/clients_file.hpp"
#include "clientfile/file_layout.hpp"
#include "clientfile/text_edits.hpp"
#include "roster/entry_values.hpp"
#include "roster/group_catalogue.hpp"

namespace velmora {

// An entry's identifier of one kind: where its value is kept and stands, its key, and the
// comment velmora writes on the line above it.
struct IdentifierKind {
  std::optional<std::string> EntryValues::*value;
  std::optional<std::string> EntryFacts::*held;  // the value an entry of the file holds
  std::optional<PairAt> EntryPlace::*at;
  std::string_view key;
  std::string_view comment;
  EntryPart part;
};

inline constexpr IdentifierKind kIdentifierKinds[] = {
    {&EntryValues::steamId, &EntryFacts::steamId, &EntryPlace::steamAt, fields::kSteam,
     kSteamIdComment, EntryPart::kSteamId},
    {&EntryValues::ipAddress, &EntryFacts::ipAddress, &EntryPlace::ipAt, fields::kIp,
     kIpAddressComment, EntryPart::kIpAddress},
};

// An entry's group of one kind, under its own key in the entry's "groups" block.
struct GroupKind {
  std::optional<std::string> EntryValues::*value;
  std::string_view key;
  EntryPart part;
  bool comesFirst;  // velmora writes the admin group before the immunity group
};

inline constexpr GroupKind kGroupKinds[] = {
    {&EntryValues::adminGroup, catalogue::kAdminKind, EntryPart::kAdminGroup, true},
    {&EntryValues::immunityGroup, catalogue::kImmunityKind, EntryPart::kImmunityGroup, false},
};

// Collects the edits of one entry of text, towards wanted; what it adds is written by the
// writer, as --add writes, in the entry's indentation and the file's line ends.
class EntryEditor {
 public:
  EntryEditor(std::string_view text, const FileLayout& layout, const EntryPlace& place,
              const EntryValues& wanted);

  // The token at span in place of value, in the quoting of the token it replaces.
  void replaceToken(const keyvalues::Span& span, std::string_view value);
  // Takes out the pair, with the comment line above it when it is comment.
  void remove(const PairAt& pair, std::string_view comment);
  // The pair of the other kind of identifier in the place of the one at pair, with velmora's
  // comment above it following the kind.
  void changeKind(const PairAt& pair, const IdentifierKind& from, const IdentifierKind& to);
  // The group at at in place of use's, as velmora writes its line where it wrote the old one.
  void changeGroup(const GroupUse& use, const PairAt& at, const GroupKind& kind,
                   std::string_view group);
  // part on lines of its own after anchor's line when nothing but a comment follows anchor
  // there; otherwise on that line, just after anchor.
  void addAfter(std::size_t anchor, EntryPart part);
  // part first or last in block.
  void addFirst(const BlockAt& block, EntryPart part);
  void addLast(const BlockAt& block, EntryPart part);

  // Whether an edit adds a part, takes one out or changes the kind of an identifier, after which
  // the entry must be read again to know that it holds what it should: a token or a group line
  // in place of another of its kind reads as the one it replaces did.
  [[nodiscard]] bool reshapes() const { return reshapes_; }
  // The edits collected, in text order.
  std::vector<TextEdit> take();

 private:
  void replace(std::size_t begin, std::size_t end, std::string replacement);
  void insert(std::size_t at, std::string text);
  [[nodiscard]] std::string ownLines(EntryPart part) const;
  [[nodiscard]] std::string inlineText(EntryPart part) const;

  std::string_view text_;
  const EntryValues& wanted_;
  std::string_view lineEnd_;
  Indentation indentation_;
  std::vector<TextEdit> edits_;
  bool reshapes_ = false;
};

}  // namespace velmora
