#include "codec/bitmap.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace vistrel {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// Below this the few faults cost less than rounding up to a whole huge page.
constexpr size_t kHugeThreshold = size_t(4) << 20;

size_t RoundUp(size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

} // namespace

template <>
void* PixelAllocator<uint32_t>::AllocatePixelMemory(size_t bytes)
{
    if (bytes < kHugeThreshold)
        return ::operator new(bytes);
    void* p = std::aligned_alloc(kHugePage, RoundUp(bytes));
    if (!p)
        throw std::bad_alloc();
    madvise(p, RoundUp(bytes), MADV_HUGEPAGE); // a hint; refused on some systems
    return p;
}

template <>
void PixelAllocator<uint32_t>::FreePixelMemory(void* p, size_t bytes) noexcept
{
    if (bytes < kHugeThreshold)
        ::operator delete(p);
    else
        std::free(p);
}

} // namespace vistrel
