#pragma once

#include "imaging/TPaletteEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Finds the entry of a colour table closest to a colour, remembering recent answers so
// that converting a whole picture does not search the table for every pixel.
class TColourMatcher {
public:
    // Only the first `limit` entries can be stored in a pixel of the picture's format.
    TColourMatcher(const std::vector<TPaletteEntry>& colours, std::size_t limit);

    std::uint8_t index(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // The closest entry, the first of equally close ones; 0 for an empty table.
    static std::uint8_t nearest(const std::vector<TPaletteEntry>& colours, std::size_t limit,
                                std::uint8_t red, std::uint8_t green, std::uint8_t blue);

private:
    struct Slot {
        std::uint32_t colour = 0xFFFFFFFF; // never a 24-bit colour: the slot is free
        std::uint8_t index = 0;
    };

    const std::vector<TPaletteEntry>& colours_;
    std::size_t limit_;
    std::array<Slot, 4096> slots_{};
};
