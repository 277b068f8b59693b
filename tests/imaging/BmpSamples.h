#pragma once

#include "imaging/BmpTestFiles.h"
#include "imaging/picture/TPixelFormat.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t red = 0xFF0000;
constexpr std::uint32_t green = 0x00FF00;
constexpr std::uint32_t blue = 0x0000FF;
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;

// Most sample pictures are 2 x 2: red, green on top, blue, white below.
inline const std::vector<std::uint32_t> quad{red, green, blue, white};

// A 2 x 2 file of the bit count, its stored rows given bottom first.
BmpFile quadFile(std::uint16_t bitCount, std::vector<Bytes> storedRows);
BmpFile withMasks(BmpFile file, std::vector<std::uint32_t> masks, std::uint32_t headerSize = 40);
BmpFile withTable(BmpFile file, std::vector<std::uint32_t> table, std::uint32_t used);
BmpFile core(BmpFile file);
// Pixel values for a list of 0xRRGGBB colours.
std::vector<std::uint32_t> colours(const std::vector<std::uint32_t>& rgbs);

extern const BmpFile bits24;
extern const BmpFile bits32;
extern const BmpFile bits555;
extern const BmpFile bits565;
extern const BmpFile bits8;
extern const BmpFile bits4;
// White, black on top, black, white below.
extern const BmpFile monochrome;
extern const BmpFile topDown24;

struct SampleBitmap {
    const char* name;
    BmpFile file;
    TPixelFormat format;
    std::vector<std::uint32_t> expected; // 0xRRGGBB, top row first
    bool rewrittenExactly = true;
};

// One file for each header form and pixel format.
const std::vector<SampleBitmap>& sampleBitmaps();
const SampleBitmap& sampleBitmap(const std::string& name);
