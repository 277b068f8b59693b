#include "ui/AmplifiedDifference.h"

#include "imaging/bmp/TBitmap.h"

#include <gtest/gtest.h>

namespace {

// A picture of one colour, red + 256 * green + 65536 * blue, at `format`.
void fill(TBitmap& bitmap, int width, int height, std::uint32_t colour,
          TPixelFormat format = TPixelFormat::Bits24) {
    bitmap.setPixelFormat(format);
    bitmap.setSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y, colour);
        }
    }
}

constexpr std::uint32_t rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red + 256 * green + 65536 * blue);
}

} // namespace

TEST(AmplifiedDifference, IsEightTimesTheDifferenceOfEachChannelClippedOnBlack) {
    TBitmap loaded;
    TBitmap recompressed;
    fill(loaded, 3, 2, rgb(100, 100, 100));
    fill(recompressed, 3, 2, rgb(100, 100, 100));
    recompressed.setPixel(0, 0, rgb(101, 97, 100)); // 1 and 3 levels: 8 and 24
    recompressed.setPixel(1, 0, rgb(140, 60, 131)); // 40 levels: 320, clipped
    loaded.setPixel(2, 1, rgb(0, 255, 31));
    recompressed.setPixel(2, 1, rgb(31, 224, 0)); // 31 levels: 248 in each channel
    const QImage difference = AmplifiedDifference::of(loaded, recompressed);
    ASSERT_EQ(difference.size(), QSize(3, 2));
    EXPECT_EQ(difference.pixel(0, 0), qRgb(8, 24, 0));
    EXPECT_EQ(difference.pixel(1, 0), qRgb(255, 255, 248));
    EXPECT_EQ(difference.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(2, 1), qRgb(248, 248, 248));
}

TEST(AmplifiedDifference, TakesTheRecompressedSizeWithBlackWhereTheLoadedHasNoPixel) {
    // Other formats are converted first.
    TBitmap loaded;
    TBitmap recompressed;
    fill(loaded, 2, 1, rgb(10, 10, 10), TPixelFormat::Bits32);
    fill(recompressed, 3, 2, rgb(12, 10, 10));
    const QImage difference = AmplifiedDifference::of(loaded, recompressed);
    ASSERT_EQ(difference.size(), QSize(3, 2));
    EXPECT_EQ(difference.pixel(1, 0), qRgb(16, 0, 0));
    EXPECT_EQ(difference.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_TRUE(AmplifiedDifference::of(loaded, TBitmap()).isNull());
}
