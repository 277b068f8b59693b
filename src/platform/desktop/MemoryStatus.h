#pragma once

#include <cstdint>

// How much physical memory the machine has and how much of it is still free.
class MemoryStatus {
public:
    // Byte counts in 64 bits: machines have more memory than 32 bits can count.
    struct Figures {
        std::uint64_t totalBytes = 0;
        std::uint64_t availableBytes = 0;
    };

    virtual ~MemoryStatus() = default;
    // Raises an Exception when the figures cannot be had.
    virtual Figures read() = 0;
};
