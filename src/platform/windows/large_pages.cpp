#include "platform/large_pages.hpp"

namespace velmora {

// Large pages on Windows need a privilege that operators' accounts do not have, and memory
// allocated for them from the start: there is nothing to advise.
void adviseLargePages(void* /*buffer*/, std::size_t /*size*/) {}

}  // namespace velmora
