#include <cstdlib>

#include "platform/final_wait.hpp"

namespace velmora {

void waitForKeyPress(std::ostream& console) {
  console.flush();
  // The command processor prompts and waits; whatever it returns, the program ends next.
  static_cast<void>(std::system("pause"));
}

}  // namespace velmora
