// The size a picture is shrunk to, and the DCT reduction it is decoded at first.

#include "imaging/resample/ResizeTarget.h"

#include "imaging/resample/ReducedDecode.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(ResizeTarget, LongestSideBecomesTheLimitAndTheOtherFollowsRounded) {
    struct Case {
        PixelSize picture;
        int limit;
        PixelSize size;
        bool resized;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{6000, 4000}, 1920, {1920, 1280}, true},
             {{4000, 6000}, 1920, {1280, 1920}, true},
             {{4000, 3000}, 1024, {1024, 768}, true},
             {{1999, 1000}, 1000, {1000, 500}, true}, // 500.25
             {{1001, 1000}, 1000, {1000, 999}, true}, // 999.0
             {{400, 300}, 2, {2, 2}, true},           // 1.5 rounds up
             {{5000, 3}, 1920, {1920, 1}, true},
             {{100, 1}, 10, {10, 1}, true}, // 0.1, at least 1
             {{3000, 3000}, 800, {800, 800}, true},
             // Never enlarged: within the limit, or no limit, the picture keeps its size.
             {{1920, 1080}, 1920, {1920, 1080}, false},
             {{800, 600}, 3840, {800, 600}, false},
             {{6000, 4000}, 0, {6000, 4000}, false},
             {{6000, 4000}, -1, {6000, 4000}, false},
         }) {
        const ResizeTarget target = ResizeTarget::of(c.picture, c.limit);
        EXPECT_EQ(target.size, c.size)
            << c.picture.width << "x" << c.picture.height << " " << c.limit;
        EXPECT_EQ(target.resized, c.resized) << c.picture.width << "x" << c.picture.height;
    }
    EXPECT_THROW(ResizeTarget::of({0, 10}, 5), std::invalid_argument);
}

TEST(ReducedDecode, LargestReductionThatStillCoversTheTarget) {
    using enum TJPEGDecodeScale;
    struct Case {
        PixelSize header;
        PixelSize target;
        double least;
        TJPEGDecodeScale scale;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{6000, 4000}, {1920, 1280}, 1, Half},
             {{6000, 4000}, {1500, 1000}, 1, Quarter},
             {{6000, 4000}, {750, 500}, 1, Eighth},
             {{5999, 3999}, {750, 500}, 1, Eighth}, // 750 x 500 rounded up
             {{6000, 4000}, {751, 501}, 1, Quarter},
             {{6000, 4000}, {3840, 2560}, 1, Full},
             {{6000, 4000}, {1500, 1000}, 2, Half},
             {{6000, 4000}, {1920, 1280}, 2, Full},
             {{6000, 4000}, {200, 133}, 2, Eighth},
         }) {
        EXPECT_EQ(ReducedDecode::scaleFor(c.header, c.target, c.least), c.scale)
            << c.target.width << " least " << c.least;
    }
    EXPECT_EQ(ReducedDecode::decodedSize({6001, 4001}, Eighth), (PixelSize{751, 501}));
}

} // namespace
