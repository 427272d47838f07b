#include <string_view>
#include <vector>

#include "app/program.hpp"

// The arguments are the bytes the operator's shell passed, in the operator's locale.
int main(int argc, char* argv[]) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  return velmora::runProgram(arguments);
}
