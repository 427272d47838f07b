#include <sys/mman.h>

#include <cstdint>

#include "platform/large_pages.hpp"

namespace velmora {

void adviseLargePages(void* buffer, std::size_t size) {
#ifdef MADV_HUGEPAGE  // Linux's; other systems have no such advice
  // The large page size of x86-64 and of most arm64 systems; a start aligned to it is aligned
  // to any small page size. Only the whole large pages inside the buffer are advised.
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} * 1024 * 1024;
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (start + size) & ~(kLargePage - 1);
  if (end > first) {
    // Refused advice (an old kernel, large pages switched off) is no failure.
    static_cast<void>(
        madvise(static_cast<char*>(buffer) + (first - start), end - first, MADV_HUGEPAGE));
  }
#else
  static_cast<void>(buffer);
  static_cast<void>(size);
#endif
}

}  // namespace velmora
