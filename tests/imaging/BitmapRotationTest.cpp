#include "imaging/bmp/TBitmap.h"
#include "imaging/bmp/TBitmapRotation.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A picture whose every pixel differs from its neighbours in all three channels.
void paintPattern(TBitmap& bitmap, TPixelFormat format, int width, int height) {
    bitmap.setPixelFormat(format);
    bitmap.setSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto red = static_cast<std::uint32_t>((x * 7 + y * 3) & 0xFF);
            const auto green = static_cast<std::uint32_t>((x * 13 + y * 29) & 0xFF);
            const auto blue = static_cast<std::uint32_t>((x ^ y) & 0xFF);
            bitmap.setPixel(x, y, red | (green << 8) | (blue << 16));
        }
    }
}

// Pixel (x, y) of the source lands at (height - 1 - y, x) of the turned picture.
void expectTurned(const TBitmap& source, const TBitmap& turned) {
    ASSERT_EQ(turned.width(), source.height());
    ASSERT_EQ(turned.height(), source.width());
    EXPECT_EQ(turned.pixelFormat(), TPixelFormat::Device);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            ASSERT_EQ(turned.pixel(source.height() - 1 - y, x), source.pixel(x, y))
                << "source pixel " << x << ", " << y;
        }
    }
}

// Sizes around the turn's inner blocks: rows without padding (whose last pixel ends the
// picture), several bands of columns, heights that are no whole number of tiles.
TEST(BitmapRotation, EveryPixelLandsAQuarterTurnOnInEachFormat) {
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {4, 3},    {8, 1},   {1, 9},
                                                    {7, 3}, {130, 21}, {64, 64}, {201, 47}};
    for (const TPixelFormat format :
         {TPixelFormat::Bits24, TPixelFormat::Bits32, TPixelFormat::Device, TPixelFormat::Bits8}) {
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(testing::Message()
                         << width << " x " << height << ", format " << static_cast<int>(format));
            TBitmap source;
            paintPattern(source, format, width, height);
            TBitmap turned;
            rotateClockwise(source, turned);
            expectTurned(source, turned);
        }
    }
}

TEST(BitmapRotation, ReportsEachColumnOnceInOrder) {
    TBitmap source;
    paintPattern(source, TPixelFormat::Bits24, 150, 5);
    TBitmap turned;
    std::vector<int> columns;
    rotateClockwise(source, turned, [&columns](int column) { columns.push_back(column); });
    ASSERT_EQ(columns.size(), 150u);
    for (int i = 0; i < 150; ++i) {
        EXPECT_EQ(columns[static_cast<std::size_t>(i)], i);
    }
}

} // namespace
