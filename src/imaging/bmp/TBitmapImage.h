#pragma once

#include "imaging/bmp/PixelAllocator.h"
#include "imaging/picture/TPaletteEntry.h"
#include "imaging/picture/TPixelFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The pixels and the description of one bitmap, shared by the TBitmap objects that copy
// each other until one of them changes it. Plain data: TBitmap keeps it consistent.
struct TBitmapImage {
    int width = 0;
    int height = 0;
    TPixelFormat format = TPixelFormat::Device;
    // Red, green and blue masks of the 15-bit, 16-bit and custom layouts (and of 32-bit
    // files that name them).
    std::array<std::uint32_t, 3> masks{};
    // 16 or 32: the word size of a Custom layout.
    int customBitCount = 32;
    // Written with bit-field compression (always so for Bits16 and Custom).
    bool bitFields = false;
    // Rows in memory top row first, as the top-down file this picture came from.
    bool topDown = false;
    // Read from a file with the 12-byte header, so written with it again.
    bool coreHeader = false;
    // Header fields a read file brings along and a written one gives back.
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t usedColours = 0;
    std::uint32_t importantColours = 0;
    // The colour table for 8 bits or fewer, a palette that comes with the file otherwise.
    std::vector<TPaletteEntry> colours;
    // Rows in storage order, each padded to a multiple of 4 bytes. Only ever replaced whole
    // (see allocate), which is what keeps new rows zero without filling them.
    std::vector<std::uint8_t, PixelAllocator<std::uint8_t>> pixels;
    // The whole file of a compressed picture, written back as long as nothing changes.
    std::vector<std::uint8_t> sourceBytes;

    bool hasPixels() const { return !pixels.empty(); }
    int bitCount() const;
    std::size_t stride() const { return strideFor(width, bitCount()); }
    // Picture row `row` (0 = top); the row must exist.
    std::uint8_t* row(int row);
    const std::uint8_t* row(int row) const;
    std::ptrdiff_t rowStep() const;

    // A new format with its standard masks and compression.
    void setFormat(TPixelFormat newFormat);

    // The most memory the pixels of one picture may take.
    static constexpr std::int64_t MaximumPixelBytes = std::int64_t{1} << 30;

    static int bitCountOf(TPixelFormat format);
    static std::size_t strideFor(std::int64_t width, int bitCount);
    // Padded rows times their number.
    static std::int64_t pixelBytes(std::int64_t width, std::int64_t height, int bitCount);
    // Throws EInvalidGraphic for sizes no picture may have: negative, or more pixel memory
    // than MaximumPixelBytes. Conversions and drawing work on rows of four bytes a pixel,
    // so one such row must fit in it too.
    static void checkSize(std::int64_t width, std::int64_t height, int bitCount);
    // Sets the size and allocates zeroed rows (none while a side is 0). With `cleared`
    // false only the padding at the end of each row is zeroed: the caller writes the pixels.
    void allocate(int newWidth, int newHeight, bool cleared = true);
};
