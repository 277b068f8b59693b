#pragma once

#include "imaging/bmp/PixelMemory.h"

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

// The allocator of pixel rows. Its memory comes zeroed, so a new container of pixels is
// not filled with zeros a second time: the rows of a large picture are first touched by
// whatever writes them (a decode, a file read, a turn). An allocator made with `cleared`
// false skips even that, for a container whose every byte the caller writes at once; any
// container copied from it gets a clearing allocator again.
template <class T> class PixelAllocator {
public:
    using value_type = T;
    using propagate_on_container_move_assignment = std::true_type;

    PixelAllocator() = default;
    explicit PixelAllocator(bool cleared) noexcept : cleared_(cleared) {}
    template <class U>
    PixelAllocator(const PixelAllocator<U>& other) noexcept : cleared_(other.cleared()) {}

    bool cleared() const noexcept { return cleared_; }
    PixelAllocator select_on_container_copy_construction() const noexcept { return {}; }

    T* allocate(std::size_t count) {
        return static_cast<T*>(PixelMemory::allocate(count * sizeof(T), cleared_));
    }
    void deallocate(T* block, std::size_t count) noexcept {
        PixelMemory::release(block, count * sizeof(T));
    }

    // Value-initialising leaves the memory as it came: zero, unless made not to clear.
    template <class U> void construct(U* place) noexcept { ::new (static_cast<void*>(place)) U; }
    template <class U, class... Args> void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }

    // Any of them gives back what another took.
    template <class U> bool operator==(const PixelAllocator<U>&) const noexcept { return true; }

private:
    bool cleared_ = true;
};
