#pragma once

#include <cstdint>

// One colour of a colour table or palette.
struct TPaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;

    friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};
