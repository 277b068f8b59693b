#pragma once

#include "imaging/bmp/TBitmap.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A BMP file put together by hand. Every field can be set wrong on purpose; by default the
// sizes and offsets come out right.
struct BmpFile {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t usedColours = 0;
    // Written after a 40-byte header, inside a larger one.
    std::vector<std::uint32_t> masks;
    // Blue, green, red per entry, as colours 0xRRGGBB.
    std::vector<std::uint32_t> table;
    Bytes pixels;
    // Extra bytes between the table and the pixels, counted in the pixel offset.
    std::size_t gap = 0;
    const char* signature = "BM";

    Bytes bytes() const;
};

// The rows of a picture as stored, each padded to 4 bytes; `rows` lists the bytes of each
// stored row without padding.
Bytes paddedRows(const std::vector<Bytes>& rows);

void readBitmap(TBitmap& bitmap, const Bytes& bytes);
Bytes writeBitmap(TBitmap& bitmap);
// Every pixel, top row first, as red + 256 * green + 65536 * blue.
std::vector<std::uint32_t> pixelsOf(const TBitmap& bitmap);
// The colour value that TBitmap::pixel uses, from 0xRRGGBB.
std::uint32_t colour(std::uint32_t rgb);
std::string readError(const Bytes& bytes);

// Names the cases of a parameterised test by their `name` member.
inline constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };
