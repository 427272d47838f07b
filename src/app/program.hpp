#pragma once

#include <span>
#include <string_view>

namespace velmora {

// The whole program on its command line's arguments (the program's own name excluded), as
// UTF-8 whatever the platform; returns the exit status. The platform's entry point converts
// the arguments and calls it.
int runProgram(std::span<const std::string_view> arguments);

}  // namespace velmora
