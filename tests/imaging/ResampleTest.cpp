// Lanczos-3 in linear light: line patterns, grey and flat pictures, threads and pixel formats,
// and photographs against ImageMagick's linear-light Lanczos.

#include "core/EAbort.h"
#include "imaging/ResampleSamples.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/resample/LanczosResampler.h"
#include "imaging/resample/SrgbTables.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

RgbPicture resized(const RgbPicture& picture, PixelSize size, int threads = 0) {
    TBitmap source;
    fillBitmap(source, picture);
    TBitmap target;
    LanczosResampler::resize(source, size, target, {}, threads);
    EXPECT_EQ(target.pixelFormat(), TPixelFormat::Bits24);
    return bitmapColours(target);
}

TEST(LanczosResampler, OnePixelLinesHalvedAverageInLinearLight) {
    for (const bool vertical : {true, false}) {
        RgbPicture lines{64, 48, std::vector<std::uint8_t>(64 * 48 * 3)};
        for (std::size_t i = 0; i < lines.rgb.size(); ++i) {
            const std::size_t pixel = i / 3;
            lines.rgb[i] = (vertical ? pixel % 64 : pixel / 64) % 2 ? 255 : 0;
        }
        // Two pixels from the ends across the lines, the cut filter weighs one colour more
        // (ImageMagick's gives 172 and 200 there too).
        const RgbPicture half = resized(lines, {32, 24});
        for (std::size_t i = 0; i < half.rgb.size(); ++i) {
            const std::size_t across = vertical ? i / 3 % 32 : i / 3 / 32;
            if (across >= 2 && across < (vertical ? 30u : 22u)) {
                ASSERT_NEAR(half.rgb[i], 188, 2) << (vertical ? "vertical" : "horizontal");
            }
        }
    }
}

TEST(LanczosResampler, GreyStaysGreyAndAFlatColourStaysExact) {
    RgbPicture grey = makeTestPicture(301, 203);
    for (std::size_t i = 0; i < grey.rgb.size(); i += 3) {
        grey.rgb[i] = grey.rgb[i + 1] = grey.rgb[i + 2];
    }
    const RgbPicture shrunk = resized(grey, {97, 61});
    for (std::size_t i = 0; i < shrunk.rgb.size(); i += 3) {
        ASSERT_EQ(shrunk.rgb[i], shrunk.rgb[i + 1]);
        ASSERT_EQ(shrunk.rgb[i], shrunk.rgb[i + 2]);
    }
    const RgbPicture flat{40, 30, std::vector<std::uint8_t>{}};
    RgbPicture orange = flat;
    for (int i = 0; i < 40 * 30; ++i) {
        orange.rgb.insert(orange.rgb.end(), {250, 130, 7});
    }
    const RgbPicture small = resized(orange, {7, 5});
    for (std::size_t i = 0; i < small.rgb.size(); i += 3) {
        ASSERT_EQ(std::vector<std::uint8_t>(small.rgb.begin() + i, small.rgb.begin() + i + 3),
                  (std::vector<std::uint8_t>{250, 130, 7}));
    }
}

TEST(LanczosResampler, SameResultOnAnyThreadCountAndFromAnyPixelFormat) {
    const RgbPicture picture = makeTestPicture(320, 240);
    const RgbPicture once = resized(picture, {123, 77}, 1);
    for (const int threads : {2, 3, 7}) {
        EXPECT_EQ(resized(picture, {123, 77}, threads).rgb, once.rgb) << threads << " threads";
    }
    TBitmap wide;
    fillBitmap(wide, picture);
    wide.setPixelFormat(TPixelFormat::Bits32);
    TBitmap target;
    LanczosResampler::resize(wide, {123, 77}, target);
    EXPECT_EQ(bitmapColours(target).rgb, once.rgb);
}

TEST(LanczosResampler, AStopLeavesTheTargetAsItWas) {
    TBitmap source;
    fillBitmap(source, makeTestPicture(64, 64));
    TBitmap target;
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(LanczosResampler::resize(source, {10, 10}, target, stop.get_token()), EAbort);
    EXPECT_TRUE(target.empty());
}

TEST(SrgbTables, EightBitValuesComeBackAndLinearLightRoundsToTheNearest) {
    const SrgbTables& srgb = SrgbTables::instance();
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(srgb.toSrgb(srgb.toLinear(static_cast<std::uint8_t>(v))), v);
    }
    for (int i = -100; i <= (1 << 22) + 100; ++i) {
        const float linear = static_cast<float>(i) / (1 << 22);
        const double exact = 255 * SrgbTables::encode(std::clamp(linear, 0.0f, 1.0f));
        ASSERT_EQ(srgb.toSrgb(linear), static_cast<int>(std::floor(exact + 0.5))) << linear;
    }
}

// A photograph made smaller by the program and by ImageMagick from the same pixels.
TEST(LanczosResampler, PhotographsMatchImageMagicksLinearLanczos) {
    const std::filesystem::path photos = photographFolder();
    if (photos.empty() || !referenceToolExists("convert")) {
        GTEST_SKIP() << "needs python3-skimage's photographs and ImageMagick";
    }
    const std::filesystem::path work = freshTestFolder("trevano-resample");
    struct Case {
        const char* photo;
        PixelSize size;
    };
    for (const Case& c : std::initializer_list<Case>{{"motorcycle_left.png", {320, 216}},
                                                     {"coffee.png", {256, 171}},
                                                     {"astronaut.png", {200, 200}},
                                                     {"chelsea.png", {401, 267}},
                                                     {"retina.jpg", {500, 500}}}) {
        const RgbPicture source = referenceResize(photos / c.photo, {}, work);
        const RgbPicture reference = referenceResize(photos / c.photo, c.size, work);
        const double db = psnr(resized(source, c.size), reference);
        std::cout << c.photo << " to " << c.size.width << "x" << c.size.height << ": " << db
                  << " dB against ImageMagick\n";
        EXPECT_GE(db, 40) << c.photo;
    }
}

} // namespace
