#pragma once
// Transparent huge pages for the large, long-lived memory of a big export (the heap, the id
// table): touching such memory then faults in 2 MB pages instead of 4 kB ones.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace aris {

inline constexpr std::size_t kHugePage = 2u << 20;

/// Ask for huge pages for the whole huge pages inside [begin, end), before they are touched.
inline void AdviseHugePages(const void* begin, const void* end) {
    auto first = (reinterpret_cast<std::uintptr_t>(begin) + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    auto last = reinterpret_cast<std::uintptr_t>(end) & ~(std::uintptr_t{kHugePage} - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace aris
