#pragma once

#include <cstdint>
#include <vector>

class TBitmap;

// The brightness of a picture, one byte per pixel, top row first: the Y that the JPEG
// encoder computes from red, green and blue (0.299 R + 0.587 G + 0.114 B, rounded), so a
// score on it judges the channel the encoder keeps most of.
struct LumaPlane {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;

    static LumaPlane of(const TBitmap& bitmap);
    // The encoder's fixed-point weights, 16 fraction bits, with its rounding. In the header,
    // so the loops over rows inline it and run several pixels at a time.
    static std::uint8_t luma(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        constexpr std::uint32_t Red = 19595;
        constexpr std::uint32_t Green = 38470;
        constexpr std::uint32_t Blue = 7471;
        constexpr std::uint32_t Half = 1u << 15;
        return static_cast<std::uint8_t>((Red * red + Green * green + Blue * blue + Half) >> 16);
    }

    std::uint8_t at(int x, int y) const {
        return values[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};
