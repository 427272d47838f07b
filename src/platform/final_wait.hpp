#pragma once

#include <ostream>

namespace velmora {

// Flushes console, then shows a press-a-key prompt and waits for the operator, so a console
// window opened by double-clicking stays open until the operator has read it. Returns at
// once when standard input has ended.
void waitForKeyPress(std::ostream& console);

}  // namespace velmora
