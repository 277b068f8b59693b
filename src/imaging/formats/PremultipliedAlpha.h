#pragma once

#include <cstdint>

// Colours already multiplied by their alpha, as TIFF files may store them and as libtiff's RGBA
// conversion gives them, laid on the background: only the background's share is added.
class PremultipliedAlpha {
public:
    // `rgb` becomes the colour seen; `background` is red + 256 * green + 65536 * blue.
    static void layOn(std::uint8_t* rgb, std::uint8_t alpha, std::uint32_t background) {
        for (int c = 0; c < 3; ++c) {
            const unsigned back = background >> (8 * c) & 0xFF;
            const unsigned value = rgb[c] + (back * (255u - alpha) + 127) / 255;
            rgb[c] = static_cast<std::uint8_t>(value > 255 ? 255 : value);
        }
    }
};
