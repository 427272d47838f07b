#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_reader.hpp"
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
std::vector<TextEdit> entryEdits(std::string_view text, const ClientsFile& file, std::size_t index,
                                 const EntryValues& wanted);

// Whether the edited text holds wanted as its entry at index: the check that an entry's
// layout was understood, before anything is written.
bool holdsEntry(std::string_view edited, std::size_t index, const EntryValues& wanted);

}  // namespace velmora
