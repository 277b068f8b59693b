// Lanczos-3 in linear light: line patterns, grey and flat pictures, threads and pixel formats,
// photographs against ImageMagick's linear-light Lanczos; JPEG files shrunk through a reduced
// decode, checked against djpeg's.

#include "core/EAbort.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/resample/LanczosResampler.h"
#include "imaging/resample/ShrinkPicture.h"
#include "imaging/resample/SrgbTables.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace {

RgbPicture resized(const RgbPicture& picture, PixelSize size, int threads = 0) {
    TBitmap source;
    fillBitmap(source, picture);
    TBitmap target;
    LanczosResampler::resize(source, size, target, {}, threads);
    EXPECT_EQ(target.pixelFormat(), TPixelFormat::Bits24);
    return bitmapColours(target);
}

void expectGrey(const RgbPicture& picture) {
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        ASSERT_EQ(picture.rgb[i], picture.rgb[i + 1]);
        ASSERT_EQ(picture.rgb[i], picture.rgb[i + 2]);
    }
}

void readJpeg(TJPEGImage& jpeg, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    jpeg.ReadFromStream(stream);
}

// Through a PPM file: the picture as it is, or made `size` by ImageMagick in linear light.
RgbPicture convert(const std::filesystem::path& file, std::optional<PixelSize> size) {
    const std::filesystem::path out = freshTestFolder("trevano-resample") / "out.ppm";
    std::vector<std::string> arguments{"convert", file.string()};
    if (size) {
        const std::string geometry =
            std::to_string(size->width) + "x" + std::to_string(size->height) + "!";
        arguments.insert(arguments.end(), {"-colorspace", "RGB", "-filter", "Lanczos", "-resize",
                                           geometry, "-colorspace", "sRGB"});
    }
    arguments.insert(arguments.end(), {"-strip", "-depth", "8", "ppm:" + out.string()});
    EXPECT_EQ(runReferenceTool(arguments), 0);
    return readPpm(out);
}

double psnr(const RgbPicture& first, const RgbPicture& second) {
    double squares = 0;
    for (std::size_t i = 0; i < first.rgb.size(); ++i) {
        squares += std::pow(double(first.rgb[i]) - double(second.rgb[i]), 2);
    }
    return 10 * std::log10(255.0 * 255.0 * double(first.rgb.size()) / squares);
}

TEST(LanczosResampler, OnePixelLinesHalvedAverageInLinearLight) {
    for (const bool vertical : {true, false}) {
        RgbPicture lines{64, 48, std::vector<std::uint8_t>(64 * 48 * 3)};
        for (std::size_t i = 0; i < lines.rgb.size(); ++i) {
            lines.rgb[i] = (vertical ? i / 3 % 64 : i / 3 / 64) % 2 ? 255 : 0;
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
    expectGrey(resized(grey, {97, 61}));
    RgbPicture orange{40, 30, {}};
    for (int i = 0; i < 40 * 30; ++i) {
        orange.rgb.insert(orange.rgb.end(), {250, 130, 7});
    }
    const RgbPicture small = resized(orange, {7, 5});
    EXPECT_TRUE(std::equal(small.rgb.begin(), small.rgb.end(), orange.rgb.begin()));
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

// Debian's python3-skimage ships these photographs, a few hundred pixels a side.
TEST(LanczosResampler, PhotographsMatchImageMagicksLinearLanczos) {
    const std::filesystem::path photos = "/usr/lib/python3/dist-packages/skimage/data";
    if (!std::filesystem::exists(photos / "coffee.png") || !referenceToolExists("convert")) {
        GTEST_SKIP() << "needs python3-skimage's photographs and ImageMagick";
    }
    for (const auto& [photo, size] : std::initializer_list<std::pair<const char*, PixelSize>>{
             {"motorcycle_left.png", {320, 216}},
             {"coffee.png", {256, 171}},
             {"astronaut.png", {200, 200}},
             {"chelsea.png", {401, 267}},
             {"retina.jpg", {500, 500}}}) {
        const double db =
            psnr(resized(convert(photos / photo, {}), size), convert(photos / photo, size));
        std::cout << photo << " to " << size.width << "x" << size.height << ": " << db << " dB\n";
        EXPECT_GE(db, 40) << photo;
    }
}

TEST(ShrinkPicture, AJpegFileIsDecodedAtAQuarterWhenTheFilterStillHasEnoughToDo) {
    if (!referenceToolExists("djpeg")) {
        GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    }
    const std::filesystem::path work = freshTestFolder("trevano-shrink");
    const std::vector<std::uint8_t> bytes = encodePicture(makeTestPicture(1000, 700), 90);
    writeBytes(work / "in.jpg", bytes);
    ASSERT_EQ(runReferenceTool({"djpeg", "-dct", "float", "-scale", "1/4", "-outfile",
                                (work / "quarter.ppm").string(), (work / "in.jpg").string()}),
              0);
    TJPEGImage jpeg;
    readJpeg(jpeg, bytes);
    TBitmap shrunk;
    // 250 x 175 decoded, 2.5 times the target: a quarter, not an eighth.
    EXPECT_TRUE(ShrinkPicture::fromJpeg(jpeg, 100, shrunk));
    const RgbPicture result = bitmapColours(shrunk);
    EXPECT_EQ(result.rgb, resized(readPpm(work / "quarter.ppm"), {100, 70}).rgb);
    jpeg.setDecodeScale(TJPEGDecodeScale::Full);
    EXPECT_NE(result.rgb, resized(bitmapColours(jpeg.Decode()), {100, 70}).rgb);
}

TEST(ShrinkPicture, APictureWithinTheLimitKeepsItsPixelsAndAGreyOneStaysGrey) {
    const RgbPicture picture = makeTestPicture(120, 90);
    TJPEGImage jpeg;
    readJpeg(jpeg, encodePicture(picture, 90));
    TBitmap kept;
    EXPECT_FALSE(ShrinkPicture::fromJpeg(jpeg, 120, kept));
    EXPECT_EQ(bitmapColours(kept).rgb, bitmapColours(jpeg.Decode()).rgb);
    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    bitmap.setPixelFormat(TPixelFormat::Bits8);
    EXPECT_FALSE(ShrinkPicture::fromBitmap(bitmap, 0, kept));
    EXPECT_EQ(bitmapColours(kept).rgb, bitmapColours(bitmap).rgb);
    EXPECT_TRUE(ShrinkPicture::fromBitmap(bitmap, 60, kept));
    EXPECT_EQ(std::pair(kept.width(), kept.height()), std::pair(60, 45));

    readJpeg(jpeg, encodePicture(makeTestPicture(400, 300), 85, true));
    EXPECT_TRUE(ShrinkPicture::fromJpeg(jpeg, 150, kept));
    EXPECT_EQ(kept.pixelFormat(), TPixelFormat::Bits24);
    expectGrey(bitmapColours(kept));
}

TEST(ShrinkPicture, AStopThrowsEAbortAndLeavesTheTarget) {
    TJPEGImage jpeg;
    readJpeg(jpeg, encodePicture(makeTestPicture(400, 300), 85));
    std::stop_source stop;
    stop.request_stop();
    TBitmap target;
    EXPECT_THROW(ShrinkPicture::fromJpeg(jpeg, 100, target, stop.get_token()), EAbort);
    TBitmap source;
    fillBitmap(source, makeTestPicture(64, 64));
    EXPECT_THROW(LanczosResampler::resize(source, {10, 10}, target, stop.get_token()), EAbort);
    EXPECT_TRUE(target.empty());
}

} // namespace
