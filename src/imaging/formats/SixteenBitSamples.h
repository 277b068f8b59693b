#pragma once

#include <cstddef>
#include <cstdint>

// 16-bit samples brought to the 8 bits a JPEG file holds, rounded to the nearest level: keeping
// the high byte alone would darken the whole picture by half a level on average.
class SixteenBitSamples {
public:
    static std::uint8_t toEight(std::uint16_t value) {
        return static_cast<std::uint8_t>((value * 255u + 32767u) / 65535u);
    }
    static void toEight(const std::uint16_t* values, std::size_t count, std::uint8_t* out) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = toEight(values[i]);
        }
    }
};
