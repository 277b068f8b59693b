#include "imaging/PixelMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace {

// The large page size of x86-64 and of most 64-bit ARM systems; elsewhere the alignment is
// merely wasted, never wrong.
constexpr std::size_t LargePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// A mapping aligned to a large page: over-mapped by one page, then trimmed at both ends.
void* mapAligned(std::size_t length) {
    const std::size_t padded = length + LargePage;
    void* mapped =
        mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = roundUp(start, LargePage);
    if (aligned > start) {
        munmap(mapped, aligned - start);
    }
    const std::uintptr_t end = start + padded;
    if (end > aligned + length) {
        munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    }
    return reinterpret_cast<void*>(aligned);
}

} // namespace

void* PixelMemory::allocate(std::size_t bytes) {
    if (bytes < MappedFrom) {
        void* block = std::calloc(bytes == 0 ? 1 : bytes, 1);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return block;
    }
    const std::size_t length = roundUp(bytes, LargePage);
    void* block = mapAligned(length);
#ifdef MADV_HUGEPAGE
    // Only a hint: without large pages the block works the same, on small ones.
    madvise(block, length, MADV_HUGEPAGE);
#endif
    return block;
}

void PixelMemory::release(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) {
        return;
    }
    if (bytes < MappedFrom) {
        std::free(block);
        return;
    }
    munmap(block, roundUp(bytes, LargePage));
}
