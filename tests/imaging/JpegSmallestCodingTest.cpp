// The smallest coding for the look: files every decoder reads alike, coefficients chosen
// for their cost, and the same stop and error behaviour as the other codings.

#include "core/EAbort.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/JpegBlockQuantiser.h"
#include "imaging/jpeg/JpegForwardDct.h"
#include "imaging/jpeg/JpegRateModel.h"
#include "imaging/jpeg/JpegTickCount.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/similarity/SimilarityReference.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes encodeSmallest(const RgbPicture& picture, int quality, TJPEGImage* into = nullptr) {
    TJPEGImage local;
    TJPEGImage& jpeg = into ? *into : local;
    takePicture(jpeg, picture);
    jpeg.setQuality(static_cast<std::uint8_t>(quality));
    jpeg.setSmallestCoding(true);
    TMemoryStream stream;
    jpeg.WriteToStream(stream);
    return {stream.memory(), stream.memory() + stream.size()};
}

std::size_t find(const Bytes& bytes, std::initializer_list<std::uint8_t> wanted) {
    const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
    return static_cast<std::size_t>(at - bytes.begin());
}

// Light noise on a gradient: texture in some places, flat areas elsewhere.
RgbPicture photoLike(int width, int height) {
    RgbPicture picture = makeTestPicture(width, height);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        seed = seed * 1664525u + 1013904223u;
        const int x = static_cast<int>(i / 3) % width;
        const int noise = x < width / 2 ? static_cast<int>(seed >> 28) - 8 : 0;
        picture.rgb[i + 1] =
            static_cast<std::uint8_t>(std::clamp(picture.rgb[i + 1] + noise, 0, 255));
    }
    return picture;
}

} // namespace

TEST(JpegSmallestCoding, DjpegDecodesTheSamePixelsAsTheProgram) {
    if (!referenceToolExists("djpeg")) {
        GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    }
    const std::filesystem::path folder = freshTestFolder("trevano-smallest");
    // Odd sizes give partial blocks and MCUs; the qualities take both chroma samplings.
    for (const auto& [width, height, quality] : {std::tuple(83, 61, 50), std::tuple(83, 61, 95),
                                                 std::tuple(1, 1, 75), std::tuple(17, 300, 20)}) {
        SCOPED_TRACE(testing::Message() << width << "x" << height << " q" << quality);
        writeBytes(folder / "smallest.jpg", encodeSmallest(photoLike(width, height), quality));
        ASSERT_EQ(runReferenceTool({"djpeg", "-dct", "float", (folder / "smallest.jpg").string()},
                                   folder / "reference.ppm"),
                  0);
        TJPEGImage jpeg;
        jpeg.ReadFromFile((folder / "smallest.jpg").string());
        EXPECT_EQ(bitmapColours(jpeg.Decode()).rgb, readPpm(folder / "reference.ppm").rgb);
    }
}

TEST(JpegSmallestCoding, FilesAreProgressiveWithOptimisedTablesAndTheMarkers) {
    TJPEGImage jpeg;
    JpegMarkers markers;
    markers.segments.push_back({JPEG_APP0 + 1, {'E', 'x', 'i', 'f', 0, 0, 1, 2}});
    markers.jfifHeader = false;
    jpeg.setMarkers(markers);
    const Bytes bytes = encodeSmallest(photoLike(120, 90), 90, &jpeg);
    EXPECT_LT(find(bytes, {0xFF, 0xC2}), bytes.size()); // progressive frame
    EXPECT_EQ(find(bytes, {0xFF, 0xC0}), bytes.size());
    EXPECT_EQ(find(bytes, {'J', 'F', 'I', 'F', 0}), bytes.size());
    EXPECT_EQ(find(bytes, {0xFF, 0xE1, 0x00, 0x0A, 'E', 'x', 'i', 'f'}), 2u); // right after SOI
    if (!referenceToolExists("jpegtran")) {
        GTEST_SKIP() << "jpegtran (libjpeg-turbo-progs) is not installed";
    }
    // Optimising the tables of the same coefficients in the same scans again saves nothing.
    const std::filesystem::path folder = freshTestFolder("trevano-smallest");
    writeBytes(folder / "smallest.jpg", bytes);
    ASSERT_EQ(runReferenceTool({"jpegtran", "-optimize", "-progressive", "-copy", "all",
                                (folder / "smallest.jpg").string()},
                               folder / "again.jpg"),
              0);
    EXPECT_GE(readBytes(folder / "again.jpg").size(), bytes.size());
}

// The size and similarity searches bisect on the quality: bytes and look both grow with it,
// also where the chroma sampling changes.
TEST(JpegSmallestCoding, BytesAndLookGrowWithTheQuality) {
    const RgbPicture picture = photoLike(160, 120);
    TBitmap source;
    fillBitmap(source, picture);
    const SimilarityReference reference(source, 1);
    std::size_t previousBytes = 0;
    double previousScore = 0.0;
    for (const int quality : {1, 10, 25, 40, 50, 60, 75, 85, 89, 90, 95, 100}) {
        SCOPED_TRACE(quality);
        const Bytes bytes = encodeSmallest(picture, quality);
        TMemoryStream stream;
        stream.writeBuffer(bytes.data(), bytes.size());
        stream.setPosition(0);
        TJPEGImage decoded;
        decoded.ReadFromStream(stream);
        const double score = *reference.score(decoded.Decode());
        EXPECT_GT(bytes.size(), previousBytes);
        EXPECT_GE(score, previousScore);
        previousBytes = bytes.size();
        previousScore = score;
    }
}

// A small coefficient is worth its bits on a flat block, where the eye sees its loss, and
// not among texture that hides it; large coefficients keep their nearest step either way.
TEST(JpegSmallestCoding, QuantiserKeepsWhatShowsAndDropsWhatTextureHides) {
    JpegLookTables::Table steps{};
    steps.fill(10);
    // Costs as a picture of mostly faint ramps teaches them: such a ramp and the end of the
    // block are cheap symbols.
    JpegRateModel rates;
    std::int16_t faintRamp[64] = {0, 1};
    for (int i = 0; i < 100; ++i) {
        rates.count(faintRamp);
    }
    rates.learn();
    const JpegBlockQuantiser quantiser(steps, rates, 0.15f);
    struct Case {
        const char* name;
        float texture; // amplitude of a fine checkerboard, in grey levels
        float lowWave; // of the lowest horizontal frequency, in steps
        int keptWave;
    };
    for (const Case& c : {Case{"flat keeps a faint ramp", 0.0f, 0.7f, 1},
                          Case{"flat keeps a strong ramp", 0.0f, 4.2f, 4},
                          Case{"texture drops a faint ramp", 30.0f, 0.7f, 0},
                          Case{"texture keeps a strong ramp", 30.0f, 4.2f, 4}}) {
        SCOPED_TRACE(c.name);
        float samples[64];
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                // A cosine of amplitude a gives a coefficient of 8 a / sqrt 2.
                const float wave = c.lowWave * 10.0f * std::sqrt(2.0f) / 8.0f *
                                   std::cos(static_cast<float>(2 * x + 1) * 3.14159265f / 16.0f);
                samples[y * 8 + x] = ((x + y) % 2 ? c.texture : -c.texture) + wave;
            }
        }
        float coefficients[64];
        JpegForwardDct::transform(samples, coefficients);
        std::int16_t block[64];
        quantiser.choose(coefficients, JpegBlockQuantiser::masking(samples), block);
        EXPECT_EQ(block[1], c.keptWave);
        EXPECT_EQ(block[63] != 0, c.texture > 0.0f); // the texture itself is far above a step
    }
}

TEST(JpegSmallestCoding, AStopLeavesNoBytesAndAnEmptyPictureEncodesToNothing) {
    // A clock that moves 40 ms a look, so the listener is asked during the coefficients.
    std::uint32_t now = 1000;
    JpegTickCount::setSource([&now] { return now += 40; });
    TJPEGImage jpeg;
    takePicture(jpeg, photoLike(64, 2000));
    jpeg.setSmallestCoding(true);
    int running = 0;
    jpeg.OnProgress = [&running](TGraphic&, TProgressStage stage, std::uint8_t percent, bool,
                                 const TRect&, const std::string&) {
        if (stage == TProgressStage::Running) {
            ++running;
            EXPECT_LE(percent, 50); // still in the coefficient passes
            throw EAbort();
        }
    };
    EXPECT_NO_THROW(jpeg.Encode());
    JpegTickCount::setSource({});
    EXPECT_EQ(running, 1);
    EXPECT_EQ(jpeg.data().Bytes, nullptr);
    EXPECT_NE(jpeg.decodedBitmap(), nullptr);

    TJPEGImage empty;
    TBitmap nothing;
    nothing.setPixelFormat(TPixelFormat::Bits24);
    empty.CopyFrom(&nothing);
    empty.setSmallestCoding(true);
    EXPECT_NO_THROW(empty.Encode());
    EXPECT_EQ(empty.data().Bytes->size(), 0);
}
