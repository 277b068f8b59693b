#pragma once

#include "imaging/picture/TPaletteEntry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Finds the entry of a colour table closest to a colour. Converting a whole picture asks
// this for every pixel, so the colour space is cut into cubes of 8 x 8 x 8 and each cube
// learns, the first time a colour falls in it, which few entries can be closest to any
// colour inside it; the answer is still the exact closest entry.
class TColourMatcher {
public:
    // Only the first `limit` entries can be stored in a pixel of the picture's format.
    TColourMatcher(const std::vector<TPaletteEntry>& colours, std::size_t limit);

    std::uint8_t index(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // The closest entry, the first of equally close ones; 0 for an empty table.
    static std::uint8_t nearest(const std::vector<TPaletteEntry>& colours, std::size_t limit,
                                std::uint8_t red, std::uint8_t green, std::uint8_t blue);

private:
    struct Cube {
        std::uint32_t first = 0;
        std::uint16_t count = 0;
        bool known = false;
    };
    void learn(Cube& cube, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    const std::vector<TPaletteEntry>& colours_;
    std::size_t count_;
    std::vector<Cube> cubes_;
    std::vector<std::uint8_t> candidates_;
};
