#pragma once

#include <cstdint>

// The decoding options of a JPEG picture.

enum class TJPEGDecodeSpeed : std::uint8_t { Accurate = 0, Fast = 1 };

enum class TJPEGDecodeDepth : std::uint8_t {
    Depth24 = 0, // 24 bits per pixel
    Depth8 = 1,  // 8 bits per pixel with a palette of at most 236 colours
};

// Both sides are divided by 2 to the power of the value, rounded up.
enum class TJPEGDecodeScale : std::uint8_t { Full = 0, Half = 1, Quarter = 2, Eighth = 3 };
