#include "imaging/bmp/TColourMatcher.h"
#include "imaging/bmp/TStandardPalettes.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The cubes only narrow the search: every answer must be the table's exact closest entry.
TEST(ColourMatcher, AgreesWithASearchOfTheWholeTable) {
    std::mt19937 random(7);
    std::vector<TPaletteEntry> scattered(200);
    for (TPaletteEntry& entry : scattered) {
        entry = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                 static_cast<std::uint8_t>(random()), 0};
    }
    scattered[150] = scattered[20]; // equally close entries: the first one wins
    for (const auto* table : {&TStandardPalettes::halftone(), &TStandardPalettes::system16(),
                              const_cast<const std::vector<TPaletteEntry>*>(&scattered)}) {
        TColourMatcher matcher(*table, 256);
        for (int i = 0; i < 20000; ++i) {
            const auto r = static_cast<std::uint8_t>(random());
            const auto g = static_cast<std::uint8_t>(random());
            const auto b = static_cast<std::uint8_t>(random());
            ASSERT_EQ(matcher.index(r, g, b), TColourMatcher::nearest(*table, 256, r, g, b))
                << int(r) << "," << int(g) << "," << int(b);
        }
    }
}

TEST(ColourMatcher, OnlyEntriesThePixelCanHoldAreChosen) {
    TColourMatcher matcher(TStandardPalettes::halftone(), 2);
    EXPECT_EQ(matcher.index(255, 255, 255), 1); // dark red beats the white of entry 15
    EXPECT_EQ(TColourMatcher::nearest({}, 256, 1, 2, 3), 0);
}

} // namespace
