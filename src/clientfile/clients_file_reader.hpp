#pragma once

#include <optional>
#include <string_view>

#include "clientfile/clients_file.hpp"
#include "keyvalues/key_values.hpp"

namespace velmora {

// A clients file's text, parsed and read.
struct ParsedClientsFile {
  // The text's keys but those two levels down, which are read as they are parsed (such as each
  // client under "players") and not kept.
  keyvalues::Document document;
  ClientsFile file;  // empty when the document has a syntax error
};

// Parses text and reads its entries: the first block at the top level is the root, and its
// "players" and "groups" blocks are read. alsoTake sees each key two levels down as well.
ParsedClientsFile parseClientsFile(std::string_view text, EntryPlaces places = EntryPlaces::kRead,
                                   const keyvalues::TakeNested& alsoTake = {});

// Where the entry at index of file (read from text with its places) and its values stand, and
// where each of its groups in file.groupsOf(index) stands, read again from the entry's text.
struct PlacedEntry {
  EntryPlace place;
  std::vector<PairAt> groupPlaces;
};
PlacedEntry placeOf(std::string_view text, const ClientsFile& file, std::size_t index);

// The entries of a text that holds entries alone, read as they would be inside a "players"
// block; empty when they cannot be read so, such as a quote that is never closed, or a brace
// that closes what it does not open.
std::optional<ClientsFile> parseEntries(std::string_view entries);

}  // namespace velmora
