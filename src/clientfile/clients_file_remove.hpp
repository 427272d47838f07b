#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {

struct Removal {
  std::string text;                  // the file without the removed entries
  std::vector<std::size_t> removed;  // which entries went, as indexes in file order
};

// Takes out of text (whose entries file holds) every entry that wanted names, letter case
// aside as the server matches: by its key, its "name" value, or its "steam" or "ip" value; and
// by its Steam account, when wanted and its "steam" value name one in any form.
// Where only white space stands before the entry's key on its line and after its closing
// brace, those whole lines go, with the comment line just above when it is the one velmora
// writes there; otherwise only the entry itself goes. Every other byte stays, so removing
// an admin from a file velmora wrote gives the file one run without that admin would write.
Removal withoutAdmins(std::string_view text, const ClientsFile& file, std::string_view wanted);

}  // namespace velmora
