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

TEST(ReducedDecode, LargestReductionThatLeavesTheFilterEnoughToDo) {
    using enum TJPEGDecodeScale;
    const ReducedDecode::LeastRemaining plain;
    const ReducedDecode::LeastRemaining measured = ReducedDecode::Measured;
    struct Case {
        PixelSize target;
        const ReducedDecode::LeastRemaining& least;
        TJPEGDecodeScale scale;
    };
    // A 6000 x 4000 photograph.
    for (const Case& c : std::initializer_list<Case>{
             {{1920, 1280}, plain, Half},
             {{1500, 1000}, plain, Quarter},
             {{750, 500}, plain, Eighth},
             {{751, 501}, plain, Quarter},
             {{3840, 2560}, plain, Full},
             {{1920, 1280}, measured, Half}, // 3000 / 1920 = 1.56
             {{2048, 1365}, measured, Full}, // 1.46
             {{1024, 683}, measured, Half},  // 1500 / 1024 = 1.46: not yet a quarter
             {{600, 400}, measured, Quarter},
             {{40, 27}, measured, Quarter}, // never an eighth
         }) {
        EXPECT_EQ(ReducedDecode::scaleFor({6000, 4000}, c.target, c.least), c.scale)
            << c.target.width;
    }
    // 100 megapixels to 1920: 3000 / 1920 = 1.56 after a quarter.
    EXPECT_EQ(ReducedDecode::scaleFor({12000, 8000}, {1920, 1280}), Quarter);
    EXPECT_EQ(ReducedDecode::decodedSize({6001, 3999}, Eighth), (PixelSize{751, 500}));
    EXPECT_EQ(ReducedDecode::scaleFor({5999, 3999}, {750, 500}, plain), Eighth);
}

} // namespace
