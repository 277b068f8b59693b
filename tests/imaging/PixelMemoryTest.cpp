#include "imaging/bmp/PixelMemory.h"

#include "imaging/bmp/PixelAllocator.h"
#include "imaging/bmp/TBitmap.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using PixelRows = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;

// Rows are never filled with zeros by the container, so every block must come zeroed, also
// where the memory was written and given back just before.
TEST(PixelMemory, EveryBlockComesZeroedSmallOrMapped) {
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096}, PixelMemory::MappedFrom - 1,
                                    PixelMemory::MappedFrom, PixelMemory::MappedFrom * 3 + 17}) {
        for (int round = 0; round < 2; ++round) {
            PixelRows rows(bytes);
            ASSERT_EQ(rows.size(), bytes);
            EXPECT_TRUE(
                std::all_of(rows.begin(), rows.end(), [](std::uint8_t b) { return b == 0; }))
                << bytes << " bytes, round " << round;
            std::fill(rows.begin(), rows.end(), std::uint8_t{0xA5});
        }
    }
}

TEST(PixelMemory, CopiesKeepTheBytes) {
    PixelRows rows(PixelMemory::MappedFrom + 5);
    rows.front() = 1;
    rows.back() = 2;
    const PixelRows copy = rows;
    EXPECT_EQ(copy, rows);
}

// A picture sized to be overwritten may get memory another picture has just written (large
// blocks are kept for reuse, and not cleared for it); the padding after each row is still
// zero, since it goes to files as it is.
TEST(PixelMemory, RowsToOverwriteHaveZeroPaddingEvenInReusedMemory) {
    const int width = 1365; // 4,095 bytes a row, padded to 4,096
    const int height = 1100;
    for (int round = 0; round < 2; ++round) {
        TBitmap white;
        white.setPixelFormat(TPixelFormat::Bits24);
        white.setSize(width, height);
        std::fill_n(white.scanLine(height - 1), 4096 * height, std::uint8_t{0xFF});
        white.releaseImage(); // its block is kept for the next of its length
        TBitmap overwritten;
        overwritten.setPixelFormat(TPixelFormat::Bits24);
        overwritten.setSizeToOverwrite(width, height, round == 1);
        for (int y = 0; y < height; ++y) {
            ASSERT_EQ(overwritten.scanLine(y)[4095], 0) << "row " << y << ", round " << round;
        }
    }
}

} // namespace
