#include "imaging/PixelMemory.h"

#include "imaging/PixelAllocator.h"

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

} // namespace
