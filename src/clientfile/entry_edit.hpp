#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_reader.hpp"
#include "clientfile/file_layout.hpp"
#include "clientfile/text_edits.hpp"
#include "roster/entry_values.hpp"

namespace velmora {

// The edits that make the entry at index (of the entries file holds, read from text) hold
// wanted, changing in place only the tokens whose values differ, each in the file's own
// quoting. A value the entry lacks is added, and one wanted no more is taken out, each with
// velmora's comment line where it stands on lines of its own: lines added take the entry's
// indentation and the file's line ends; inside an entry on one line, keys and values are
// added on that line. An identifier of the other kind takes the old one's place, and a group
// line velmora wrote gives way to the one it writes for the new group. On a file velmora
// wrote, the result is the file velmora writes for the changed entry.
// layout is the file's, as layoutOf finds it. reshapes says whether the edits add or take out a
// part or change an identifier's kind: only then must the entry be read again (see
// firstChangeNotHolding) to know that it holds wanted.
struct EntryEdits {
  std::vector<TextEdit> edits;
  bool reshapes = false;
};
EntryEdits entryEdits(std::string_view text, const ClientsFile& file, const FileLayout& layout,
                      std::size_t index, const EntryValues& wanted);

// A change of an entry: the entry at index, its edits in text order, and what it is to hold.
struct EntryChange {
  std::size_t index = 0;
  std::span<const TextEdit> edits;
  const EntryValues* wanted = nullptr;
};

// The first of changes, to entries of the entries file holds, read from text, whose entry
// does not hold what it is to hold once its edits are made; empty when each does. This is the
// check that each entry's layout was understood, before anything is written. Only the entries'
// own texts are read again: the edits lie within them, and the server reads an entry alike in
// the file and alone, when it reads alone as one whole entry, and then reads nothing before or
// after it otherwise either. The entries are read together, and one by one only when not all
// of them hold.
std::optional<std::size_t> firstChangeNotHolding(std::string_view text, const ClientsFile& file,
                                                 std::span<const EntryChange> changes);

// Whether the one change of the entry at index holds, as firstChangeNotHolding finds it.
bool editedEntryHolds(std::string_view text, const ClientsFile& file, std::size_t index,
                      std::span<const TextEdit> edits, const EntryValues& wanted);

}  // namespace velmora
