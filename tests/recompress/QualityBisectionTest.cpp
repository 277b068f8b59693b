// Finding the highest quality whose file fits: the bisection and the sizes it is fed.

#include "recompress/QualityBisection.h"

#include "recompress/EncodedSize.h"
#include "support/JpegTestPictures.h"

#include <gtest/gtest.h>

TEST(QualityBisection, FindsEveryAnswerInAtMostSevenTries) {
    // A file that fits below each threshold: the answers run from "none" to 100.
    for (int threshold = 0; threshold <= 101; ++threshold) {
        SCOPED_TRACE(threshold);
        int tries = 0;
        const std::optional<int> found =
            QualityBisection::highestFitting([&](int quality) -> std::optional<bool> {
                EXPECT_GE(quality, 0);
                EXPECT_LE(quality, 100);
                ++tries;
                return quality < threshold;
            });
        EXPECT_EQ(found, threshold == 0 ? QualityBisection::NothingFits : threshold - 1);
        EXPECT_LE(tries, QualityBisection::MostTries);
    }
}

TEST(QualityBisection, AStoppedTryStopsTheSearch) {
    int tries = 0;
    const std::optional<int> found =
        QualityBisection::highestFitting([&](int) -> std::optional<bool> {
            return ++tries == 3 ? std::nullopt : std::optional<bool>(true);
        });
    EXPECT_EQ(found, std::nullopt);
    EXPECT_EQ(tries, 3);
}

TEST(EncodedSize, IsTheLengthOfTheFileTheEncoderMakesOrNothingOnceStopped) {
    const RgbPicture picture = makeTestPicture(90, 70);
    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    for (const int quality : {0, 40, 100}) {
        SCOPED_TRACE(quality);
        EXPECT_EQ(EncodedSize::at(bitmap, false, quality),
                  std::int64_t(encodePicture(picture, std::uint8_t(quality)).size()));
    }
    EXPECT_EQ(EncodedSize::at(bitmap, true, 60),
              std::int64_t(encodePicture(picture, 60, false, true).size()));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(EncodedSize::at(bitmap, false, 50, stop.get_token()), std::nullopt);
}
