#pragma once

#include <string>
#include <vector>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {

// The admins of a clients file as a table: a header line, then one line per entry in file
// order with its number, name, STEAMID or IP address, admin group and immunity group, "-"
// where the entry has none. Columns are aligned by characters, not bytes, so that names in
// every script line up.
std::vector<std::string> adminTable(const ClientsFile& file);

}  // namespace velmora
