// The similarity score against an independent implementation, on the same brightness
// planes, and the brightness the score is computed on.

#include "imaging/similarity/StructuralSimilarity.h"

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/LumaPlane.h"
#include "imaging/similarity/LumaRows.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iomanip>
#include <iostream>
#include <stdexcept>

namespace {

// scikit-image's score with the same window, constants and normalisation, one line per
// pair of planes given as binary PGM files (one interpreter start for all of them).
const char* const ReferenceScript = R"(
import sys
import numpy as np
from skimage.metrics import structural_similarity
def pgm(path):
    data = open(path, 'rb').read()
    width, height = (int(v) for v in data.split(maxsplit=3)[1:3])
    return np.frombuffer(data[-width * height:], dtype=np.uint8).reshape(height, width)
files = sys.argv[1:]
for first, second in zip(files[0::2], files[1::2]):
    score = structural_similarity(pgm(first), pgm(second), gaussian_weights=True, sigma=1.5,
                                  use_sample_covariance=False, data_range=255)
    print('%.12f' % score)
)";

// Debian's interpreter first: the one its scikit-image package installs into.
std::string pythonWithScikitImage() {
    for (const std::string python : {"/usr/bin/python3", "python3"}) {
        if (runReferenceTool({python, "-c", "import skimage.metrics"}, "/dev/null") == 0) {
            return python;
        }
    }
    return {};
}

void writePgm(const std::filesystem::path& path, const LumaPlane& plane) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << plane.width << ' ' << plane.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(plane.values.data()),
              static_cast<std::streamsize>(plane.values.size()));
}

LumaPlane lumaOf(const RgbPicture& picture) {
    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    return LumaPlane::of(bitmap);
}

// The picture as the program shows it after a recompression at `quality`.
LumaPlane recompressed(const RgbPicture& picture, std::uint8_t quality, bool gray = false) {
    const std::vector<std::uint8_t> bytes = encodePicture(picture, quality, gray);
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    TJPEGImage jpeg;
    jpeg.ReadFromStream(stream);
    return LumaPlane::of(jpeg.Decode());
}

RgbPicture grayPicture(int width, int height) {
    RgbPicture picture = makeTestPicture(width, height);
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        picture.rgb[i] = picture.rgb[i + 1] = picture.rgb[i + 2] = picture.rgb[i + 2];
    }
    return picture;
}

RgbPicture flatPicture(int width, int height, std::uint8_t level) {
    return {width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3, level)};
}

class ScikitImageScore : public ::testing::Test {
protected:
    void SetUp() override {
        python_ = pythonWithScikitImage();
        if (python_.empty()) {
            GTEST_SKIP() << "python3 with scikit-image (python3-skimage) is not installed";
        }
        folder_ = freshTestFolder("trevano-similarity");
    }

    // The reference's score of each pair, in order.
    std::vector<double> reference(const std::vector<std::pair<LumaPlane, LumaPlane>>& pairs) {
        std::vector<std::string> arguments{python_, "-c", ReferenceScript};
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            for (const auto& [plane, side] :
                 {std::pair{&pairs[i].first, "a"}, std::pair{&pairs[i].second, "b"}}) {
                const auto file = folder_ / (std::to_string(i) + side + ".pgm");
                writePgm(file, *plane);
                arguments.push_back(file.string());
            }
        }
        const std::filesystem::path output = folder_ / "scores.txt";
        EXPECT_EQ(runReferenceTool(arguments, output), 0);
        std::ifstream in(output);
        std::vector<double> scores;
        for (double score = 0; in >> score;) {
            scores.push_back(score);
        }
        return scores;
    }

    std::string python_;
    std::filesystem::path folder_;
};

} // namespace

TEST_F(ScikitImageScore, AgreesToFourDecimalPlaces) {
    const RgbPicture photo = makeTestPicture(160, 120);
    const RgbPicture gray = grayPicture(97, 71); // odd sizes: no whole number of windows
    const std::vector<std::string> names{"identical", "strong recompression",
                                         "gray picture recompressed in gray",
                                         "flat grays of two levels"};
    const std::vector<std::pair<LumaPlane, LumaPlane>> pairs{
        {lumaOf(photo), lumaOf(photo)},
        {lumaOf(photo), recompressed(photo, 5)},
        {lumaOf(gray), recompressed(gray, 30, true)},
        {lumaOf(flatPicture(40, 30, 128)), lumaOf(flatPicture(40, 30, 120))},
    };
    const std::vector<double> theirs = reference(pairs);
    ASSERT_EQ(theirs.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const double ours = StructuralSimilarity::mean(pairs[i].first, pairs[i].second).value();
        EXPECT_NEAR(ours, theirs[i], 0.5e-4);
        EXPECT_NEAR(ours, theirs[i], 1e-5) << "closer than the four places: single precision";
        std::cout << "[ score    ] " << names[i] << ": " << std::setprecision(12) << ours
                  << " against " << theirs[i] << '\n';
    }
    EXPECT_EQ(StructuralSimilarity::mean(lumaOf(photo), lumaOf(photo)), 1.0);
    EXPECT_LT(StructuralSimilarity::mean(lumaOf(photo), recompressed(photo, 5)).value(), 0.9);
}

TEST(StructuralSimilarity, PicturesNarrowerThanTheWindowUseTheWidestWindowThatFits) {
    const LumaPlane small = lumaOf(makeTestPicture(4, 11));
    EXPECT_EQ(StructuralSimilarity::mean(small, small), 1.0);
    const LumaPlane dot = lumaOf(flatPicture(1, 1, 200));
    const LumaPlane darker = lumaOf(flatPicture(1, 1, 100));
    // One pixel: no variance, the score is the means' term alone.
    const double c1 = (0.01 * 255) * (0.01 * 255);
    EXPECT_NEAR(StructuralSimilarity::mean(dot, darker).value(),
                (2 * 200.0 * 100 + c1) / (200.0 * 200 + 100.0 * 100 + c1), 1e-7);
}

TEST(StructuralSimilarity, PlanesOfDifferentOrNoSizeAreRefusedAndAStopGivesNothing) {
    const LumaPlane wide = lumaOf(makeTestPicture(30, 20));
    const LumaPlane tall = lumaOf(makeTestPicture(20, 30));
    EXPECT_THROW(StructuralSimilarity::mean(wide, tall), std::invalid_argument);
    EXPECT_THROW(StructuralSimilarity::mean(LumaPlane(), LumaPlane()), std::invalid_argument);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(StructuralSimilarity::mean(wide, wide, stop.get_token()), std::nullopt);
}

TEST(LumaPlane, IsTheEncodersBrightnessWhateverThePixelFormat) {
    EXPECT_EQ(LumaPlane::luma(255, 0, 0), 76);
    EXPECT_EQ(LumaPlane::luma(0, 255, 0), 150);
    EXPECT_EQ(LumaPlane::luma(0, 0, 255), 29);
    EXPECT_EQ(LumaPlane::luma(255, 255, 255), 255);
    EXPECT_EQ(LumaPlane::luma(0, 0, 0), 0);
    EXPECT_EQ(LumaPlane::luma(10, 20, 30), 18); // 2.99 + 11.74 + 3.42 = 18.15

    TBitmap bitmap;
    fillBitmap(bitmap, makeTestPicture(13, 7));
    const LumaPlane from24 = LumaPlane::of(bitmap);
    ASSERT_EQ(from24.width, 13);
    ASSERT_EQ(from24.height, 7);
    const std::uint32_t colour = bitmap.pixel(5, 3); // red + 256 green + 65536 blue
    EXPECT_EQ(from24.at(5, 3),
              LumaPlane::luma(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    bitmap.setPixelFormat(TPixelFormat::Bits32);
    EXPECT_EQ(LumaPlane::of(bitmap).values, from24.values);
    bitmap.setPixelFormat(TPixelFormat::Bits16); // through the bitmap's own conversion
    const LumaPlane from16 = LumaPlane::of(bitmap);
    const std::uint32_t reduced = bitmap.pixel(5, 3);
    EXPECT_EQ(from16.at(5, 3),
              LumaPlane::luma(reduced & 0xFF, (reduced >> 8) & 0xFF, (reduced >> 16) & 0xFF));
    EXPECT_TRUE(LumaPlane::of(TBitmap()).values.empty());
}

// Rows worked out from the picture as the score reaches them give the planes' values, so the
// same score, in every format.
TEST(LumaRows, AreThePlanesRowsWhateverThePixelFormat) {
    TBitmap first;
    fillBitmap(first, makeTestPicture(23, 17));
    TMemoryStream stream;
    const std::vector<std::uint8_t> bytes = encodePicture(makeTestPicture(23, 17), 20, false);
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    TJPEGImage jpeg;
    jpeg.ReadFromStream(stream);
    const TBitmap& second = jpeg.Decode();
    const double expected =
        StructuralSimilarity::mean(LumaPlane::of(first), LumaPlane::of(second)).value();
    for (const TPixelFormat format :
         {TPixelFormat::Bits24, TPixelFormat::Bits32, TPixelFormat::Device, TPixelFormat::Bits16}) {
        first.setPixelFormat(format);
        const LumaPlane plane = LumaPlane::of(first);
        LumaRows rows(first);
        ASSERT_EQ(rows.width(), 23);
        ASSERT_EQ(rows.height(), 17);
        for (int y = 0; y < 17; ++y) {
            const std::uint8_t* row = rows.row(y);
            ASSERT_EQ(std::vector<std::uint8_t>(row, row + 23),
                      std::vector<std::uint8_t>(plane.values.begin() + y * 23,
                                                plane.values.begin() + (y + 1) * 23))
                << "row " << y << ", format " << static_cast<int>(format);
        }
        LumaRows firstRows(first);
        LumaRows secondRows(second);
        if (format != TPixelFormat::Bits16) { // 16 bits loses colour, so changes the score
            EXPECT_EQ(StructuralSimilarity::mean(firstRows, secondRows), expected);
        }
    }
}
