#pragma once

#include <ostream>
#include <streambuf>

// The program's standard streams, as the rest of it needs them whatever the platform: text
// inside the program is UTF-8. One implementation per platform.
namespace velmora::console {

// Standard input as UTF-8 bytes for the answer reader. What is typed at a console arrives as
// the characters typed, whatever the console's code page; piped or redirected input arrives
// byte for byte.
std::streambuf& input();

// Standard output and standard error for text that may hold what the operator typed, such as
// names and paths. At a console it shows as those characters; to a pipe or a file it goes as
// UTF-8 bytes. The dialogue's own text, which is ASCII, goes to std::cout.
std::ostream& textOutput();
std::ostream& textErrors();

// Standard output for a file's own bytes, such as a diff of a file with CR LF line ends: to a
// pipe or a file every byte goes as it is, with no line end changed; at a console it shows
// as textOutput shows text. Once used, standard output stays so for the rest of the run.
std::ostream& byteOutput();

}  // namespace velmora::console
