#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"
#include "clientfile/text_edits.hpp"

// How a clients file lays out its text, so that what is added to it or taken out of it
// follows suit and every other byte stays.
namespace velmora {

// How the file indents its entries (two levels in), and one level more inside them.
struct Indentation {
  std::string entry = "\t\t";
  std::string level = "\t";
};

// How a file lays out what is added to it, found once for all the edits of the file, each of
// which would otherwise look through the whole text again.
struct FileLayout {
  // The file's own line end: LF for a text that uses LF throughout, CR LF otherwise.
  std::string_view lineEnd;
  // Taken from the first entry that begins its line, and the "players" key above it;
  // velmora's own tabs when there is none.
  Indentation indentation;
};

FileLayout layoutOf(std::string_view text, const ClientsFile& file);

// The white space from the start of at's line to at; empty unless there is only white space.
std::string_view indentationBefore(std::string_view text, std::size_t at);

// One level: what inner adds to outer when it begins with it, else half of inner, rounded up.
std::string levelBetween(std::string_view outer, std::string_view inner);

// value in quotes, and as a token in the quoting of the token whose place it takes.
std::string inQuotes(std::string_view value);
std::string tokenFor(std::string_view value, bool wasQuoted);

// The indentation of lines inside the entry at place: its own and that of its values where
// they begin their lines, else the file's.
Indentation indentationOf(std::string_view text, const FileLayout& layout, const EntryPlace& place);

// Pieces written with velmora's tabs, in the file's own indentation: a line's leading tabs, two
// or more, become the entry indentation and a level for each tab beyond two.
std::string reindented(std::string_view pieces, const Indentation& indentation);

// Where lines go that are added at the end of a block, each beginning with a line end: just
// after the last thing in it, so that the closing brace keeps its line and indentation.
std::size_t insertionPoint(std::string_view text, std::size_t closingBrace);

// Just before the line end of the line that holds at; the end of the text on its last line.
std::size_t endOfLineContent(std::string_view text, std::size_t at);

// Whether the text from at to the end of its line holds nothing but white space or a comment.
bool onlyCommentAfter(std::string_view text, std::size_t at);

// Takes out the key or entry from begin to end: its whole lines when nothing but white space
// stands before it on its first line and after it on its last, with the line just above when
// that line is comment (as velmora writes above what it writes); otherwise the text from
// begin to end alone. An empty comment takes no line above.
TextEdit removal(std::string_view text, std::size_t begin, std::size_t end,
                 std::string_view comment);

}  // namespace velmora
