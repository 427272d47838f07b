#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {

// The admins of a clients file as a table: a header line, then one line per entry in file
// order with its number, name ("name" value, with the key where the two differ), STEAMID or
// IP address, admin group and immunity group, "-" where the entry has none. Columns are
// aligned by the columns a terminal gives each character, so that names in every script line
// up.
std::vector<std::string> adminTable(const ClientsFile& file);

// The admins of a clients file as one JSON array, one object per entry in file order, for
// scripts: the entry's line and key, its "name", "steam" and "ip" values, its "Admin" and
// "Immunity" groups, and its Steam account as STEAM_0:Y:Z when its "steam" value names one;
// null for each that the entry does not have.
// Written to output one admin at a time: a file of many admins is not held twice.
void writeAdminListJson(std::ostream& output, const ClientsFile& file);

// The groups of a clients file's global "groups" section as a table: a header line, then one
// line per group in file order with its number, kind, name, how many admins have it, and its
// flags, aligned as adminTable aligns its columns.
std::vector<std::string> groupTable(const ClientsFile& file);

// The same groups as one JSON array, one object per group with its kind ("Admin" or
// "Immunity"), its name as the file spells it, its flags joined by one blank, and its first
// line: a roster's groups, as --apply takes them.
void writeGroupListJson(std::ostream& output, const ClientsFile& file);

}  // namespace velmora
