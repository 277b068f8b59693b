#include "imaging/bmp/PixelMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

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

void* mapLarge(std::size_t length) {
    void* block = mapAligned(length);
#ifdef MADV_HUGEPAGE
    // Only a hint: without large pages the block works the same, on small ones.
    madvise(block, length, MADV_HUGEPAGE);
#endif
    return block;
}

// The last large block given back, kept for the next one of the same length: a preview
// replaces a picture of the same size at every quality change, and memory already in use
// is cheaper, even cleared, than new memory mapped (on a virtual machine, by far).
struct SpareBlock {
    std::mutex lock;
    void* block = nullptr;
    std::size_t length = 0;

    void* take(std::size_t wanted) {
        const std::lock_guard held(lock);
        if (block == nullptr || length != wanted) {
            return nullptr;
        }
        return std::exchange(block, nullptr);
    }

    // Keeps `given`, giving back whatever was kept before.
    void keep(void* given, std::size_t givenLength) {
        void* old = nullptr;
        std::size_t oldLength = 0;
        {
            const std::lock_guard held(lock);
            old = std::exchange(block, given);
            oldLength = std::exchange(length, givenLength);
        }
        if (old != nullptr) {
            munmap(old, oldLength);
        }
    }
};

SpareBlock& spare() {
    static SpareBlock kept;
    return kept;
}

} // namespace

void* PixelMemory::allocate(std::size_t bytes, bool cleared) {
    if (bytes < MappedFrom) {
        const std::size_t size = bytes == 0 ? 1 : bytes;
        void* block = cleared ? std::calloc(size, 1) : std::malloc(size);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return block;
    }
    const std::size_t length = roundUp(bytes, LargePage);
    if (void* reused = spare().take(length)) {
        if (cleared) {
            std::memset(reused, 0, length);
        }
        return reused;
    }
    return mapLarge(length);
}

void PixelMemory::release(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) {
        return;
    }
    if (bytes < MappedFrom) {
        std::free(block);
        return;
    }
    spare().keep(block, roundUp(bytes, LargePage));
}

void PixelMemory::discard(const void* begin, std::size_t bytes) noexcept {
    static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = roundUp(start, page);
    const std::uintptr_t end = (start + bytes) / page * page;
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
    }
}
