#include <iostream>

#include "platform/console_streams.hpp"

// A POSIX terminal passes on the bytes typed, and the operator's locale is UTF-8 or the
// bytes are theirs to choose; nothing is converted.
namespace velmora::console {

std::streambuf& input() { return *std::cin.rdbuf(); }
std::ostream& textOutput() { return std::cout; }
std::ostream& textErrors() { return std::cerr; }
std::ostream& byteOutput() { return std::cout; }

}  // namespace velmora::console
