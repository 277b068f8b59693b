#pragma once

#include <cstddef>

// Where the pixels of pictures live. Blocks come zeroed unless asked otherwise. Large blocks are
// mapped straight from the system, which hands out zeroed pages anyway, and on large pages where
// the system offers them: a picture of many megabytes then costs a few page faults
// instead of thousands, and walking it by columns (a quarter turn) misses the address
// cache far less. The last large block given back is kept for the next of its length.
class PixelMemory {
public:
    // Zeroed unless `cleared` is false, when the caller writes every byte itself. Throws
    // std::bad_alloc when there is no memory.
    static void* allocate(std::size_t bytes, bool cleared = true);
    // `bytes` is the size given to allocate.
    static void release(void* block, std::size_t bytes) noexcept;

    // Gives the whole pages within [begin, begin + bytes) back to the system; they read as
    // zeros afterwards. For pixels nobody will read again.
    static void discard(const void* begin, std::size_t bytes) noexcept;

    // From this size on, blocks are mapped rather than taken from the heap.
    static constexpr std::size_t MappedFrom = std::size_t{4} << 20;
};
