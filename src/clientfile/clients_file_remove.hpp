#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_reader.hpp"
#include "clientfile/text_edits.hpp"

namespace velmora {

struct Removal {
  std::vector<TextEdit> edits;       // what takes the removed entries out of the text
  std::vector<std::size_t> removed;  // which entries go, as indexes in file order
};

// Takes out of text (whose entries file holds) every entry at the indexes given, in order.
// Where only white space stands before the entry's key on its line and after its closing
// brace, those whole lines go, with the comment line just above when it is the one velmora
// writes there; otherwise only the entry itself goes. Every other byte stays, so removing
// an admin from a file velmora wrote gives the file one run without that admin would write.
Removal withoutEntries(std::string_view text, const ClientsFile& file,
                       std::vector<std::size_t> indexes);

// The same for every entry that wanted names (see namesEntry).
Removal withoutAdmins(std::string_view text, const ClientsFile& file, std::string_view wanted);

}  // namespace velmora
