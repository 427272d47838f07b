#pragma once

#include <cstddef>

namespace velmora {

// Asks the system to back a large buffer that is about to be filled with large memory pages
// where it has them. Fresh memory costs a fault for each small page first written, and on some
// systems those faults are most of the time a large file takes to read. Only advice:
// nothing else changes, and where it is not taken nothing changes at all. One implementation
// per platform.
void adviseLargePages(void* buffer, std::size_t size);

}  // namespace velmora
