#pragma once

#include "imaging/PixelMemory.h"

#include <cstddef>
#include <new>
#include <utility>

// The allocator of pixel rows. Its memory comes zeroed, so a new container of pixels is
// not filled with zeros a second time: the rows of a large picture are first touched by
// whatever writes them (a decode, a file read, a turn).
template <class T> class PixelAllocator {
public:
    using value_type = T;

    PixelAllocator() = default;
    template <class U> PixelAllocator(const PixelAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        return static_cast<T*>(PixelMemory::allocate(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        PixelMemory::release(block, count * sizeof(T));
    }

    // Value-initialising stays as the memory came: zero.
    template <class U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <class U, class... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }

    template <class U> bool operator==(const PixelAllocator<U>&) const noexcept { return true; }
};
