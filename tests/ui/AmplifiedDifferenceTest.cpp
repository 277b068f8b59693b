#include "ui/AmplifiedDifference.h"

#include <gtest/gtest.h>

TEST(AmplifiedDifference, IsEightTimesTheDifferenceOfEachChannelClippedOnBlack) {
    QImage loaded(3, 2, QImage::Format_RGB32);
    QImage recompressed(3, 2, QImage::Format_RGB32);
    loaded.fill(qRgb(100, 100, 100));
    recompressed.fill(qRgb(100, 100, 100));
    recompressed.setPixel(0, 0, qRgb(101, 97, 100)); // 1 and 3 levels: 8 and 24
    recompressed.setPixel(1, 0, qRgb(140, 60, 131)); // 40 levels: 320, clipped
    loaded.setPixel(2, 1, qRgb(0, 255, 31));
    recompressed.setPixel(2, 1, qRgb(31, 224, 0)); // 31 levels: 248 in each channel
    const QImage difference = AmplifiedDifference::of(loaded, recompressed);
    ASSERT_EQ(difference.size(), QSize(3, 2));
    EXPECT_EQ(difference.pixel(0, 0), qRgb(8, 24, 0));
    EXPECT_EQ(difference.pixel(1, 0), qRgb(255, 255, 248));
    EXPECT_EQ(difference.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(2, 1), qRgb(248, 248, 248));
}

TEST(AmplifiedDifference, TakesTheRecompressedSizeWithBlackWhereTheLoadedHasNoPixel) {
    QImage loaded(2, 1, QImage::Format_RGB888); // other formats are converted first
    loaded.fill(qRgb(10, 10, 10));
    QImage recompressed(3, 2, QImage::Format_RGB32);
    recompressed.fill(qRgb(12, 10, 10));
    const QImage difference = AmplifiedDifference::of(loaded, recompressed);
    ASSERT_EQ(difference.size(), QSize(3, 2));
    EXPECT_EQ(difference.pixel(1, 0), qRgb(16, 0, 0));
    EXPECT_EQ(difference.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(difference.pixel(0, 1), qRgb(0, 0, 0));
    EXPECT_TRUE(AmplifiedDifference::of(loaded, QImage()).isNull());
}
