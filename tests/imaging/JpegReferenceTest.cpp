// The adapter against the library's own command-line tools, on the same pixels.

#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <gtest/gtest.h>
#include <set>

namespace {

class JpegReference : public ::testing::Test {
protected:
    void SetUp() override {
        if (!referenceToolExists("cjpeg") || !referenceToolExists("djpeg")) {
            GTEST_SKIP() << "cjpeg and djpeg (libjpeg-turbo-progs) are not installed";
        }
        folder_ = freshTestFolder("trevano-jpeg-reference");
        picture_ = makeTestPicture(83, 61); // odd sizes: partial blocks at both edges
        writePpm(folder_ / "in.ppm", picture_);
    }

    std::vector<std::uint8_t> encode(std::uint8_t quality, bool gray, bool progressive) {
        return encodePicture(picture_, quality, gray, progressive);
    }

    std::vector<std::uint8_t> cjpeg(std::vector<std::string> options) {
        std::vector<std::string> arguments{"cjpeg", "-dct", "float", "-baseline"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back((folder_ / "in.ppm").string());
        EXPECT_EQ(runReferenceTool(arguments, folder_ / "reference.jpg"), 0);
        return readBytes(folder_ / "reference.jpg");
    }

    // Writes `bytes` as a file, decodes it with djpeg and with the adapter.
    void decodeBoth(const std::vector<std::uint8_t>& bytes, std::vector<std::string> options,
                    TJPEGImage& jpeg, RgbPicture& reference) {
        writeBytes(folder_ / "source.jpg", bytes);
        std::vector<std::string> arguments{"djpeg"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back((folder_ / "source.jpg").string());
        ASSERT_EQ(runReferenceTool(arguments, folder_ / "reference.ppm"), 0);
        reference = readPpm(folder_ / "reference.ppm");
        jpeg.ReadFromFile((folder_ / "source.jpg").string());
    }

    std::filesystem::path folder_;
    RgbPicture picture_;
};

std::size_t colourCount(const RgbPicture& picture) {
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i < picture.rgb.size(); i += 3) {
        colours.insert(picture.rgb[i] | picture.rgb[i + 1] << 8 | picture.rgb[i + 2] << 16);
    }
    return colours.size();
}

} // namespace

TEST_F(JpegReference, EncodeGivesTheReferenceBytesAtEveryQuality) {
    for (int quality : {1, 10, 50, 75, 90, 100}) {
        SCOPED_TRACE(quality);
        EXPECT_EQ(encode(static_cast<std::uint8_t>(quality), false, false),
                  cjpeg({"-quality", std::to_string(quality)}));
    }
    // The library counts quality 0 as 1, and anything above 100 as 100.
    EXPECT_EQ(encode(0, false, false), encode(1, false, false));
    EXPECT_EQ(encode(200, false, false), encode(100, false, false));
}

TEST_F(JpegReference, EncodeGrayAndProgressiveGiveTheReferenceBytes) {
    EXPECT_EQ(encode(75, true, false), cjpeg({"-quality", "75", "-grayscale"}));
    EXPECT_EQ(encode(75, false, true), cjpeg({"-quality", "75", "-progressive"}));
    EXPECT_EQ(encode(40, true, true), cjpeg({"-quality", "40", "-grayscale", "-progressive"}));
}

TEST_F(JpegReference, AccurateDecodeAt24BitsMatchesTheReferencePixelForPixel) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        TJPEGImage jpeg;
        RgbPicture reference;
        decodeBoth(encode(80, false, progressive), {"-dct", "float"}, jpeg, reference);
        const TBitmap& bitmap = jpeg.Decode();
        EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits24);
        EXPECT_EQ(bitmapColours(bitmap).rgb, reference.rgb);
    }
}

TEST_F(JpegReference, EightBitDecodesMatchTheReferenceQuantisers) {
    const std::vector<std::uint8_t> bytes = encode(85, false, false);
    {
        TJPEGImage jpeg;
        RgbPicture reference;
        decodeBoth(bytes, {"-dct", "float", "-colors", "236"}, jpeg, reference);
        jpeg.setDecodeDepth(TJPEGDecodeDepth::Depth8);
        const TBitmap& bitmap = jpeg.Decode();
        EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits8);
        EXPECT_LE(bitmap.palette().size(), 236u);
        const RgbPicture decoded = bitmapColours(bitmap);
        EXPECT_LE(colourCount(decoded), 236u);
        EXPECT_EQ(decoded.rgb, reference.rgb);
    }
    {
        TJPEGImage jpeg;
        RgbPicture reference;
        decodeBoth(bytes, {"-dct", "fast", "-dither", "ordered", "-onepass", "-colors", "236"},
                   jpeg, reference);
        jpeg.setDecodeDepth(TJPEGDecodeDepth::Depth8);
        jpeg.setDecodeSpeed(TJPEGDecodeSpeed::Fast);
        EXPECT_EQ(bitmapColours(jpeg.Decode()).rgb, reference.rgb);
    }
}

TEST_F(JpegReference, GraySourceDecodesToEightBitsWithAGrayPalette) {
    TJPEGImage jpeg;
    RgbPicture reference;
    decodeBoth(cjpeg({"-quality", "90", "-grayscale"}), {"-dct", "float", "-colors", "236"}, jpeg,
               reference);
    EXPECT_TRUE(jpeg.data().IsGray);
    const TBitmap& bitmap = jpeg.Decode(); // at the default 24 bits all the same
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits8);
    ASSERT_FALSE(bitmap.palette().empty());
    EXPECT_LE(bitmap.palette().size(), 236u);
    for (const TPaletteEntry& entry : bitmap.palette()) {
        EXPECT_TRUE(entry.red == entry.green && entry.green == entry.blue);
    }
    EXPECT_EQ(bitmapColours(bitmap).rgb, reference.rgb);

    // Encoding the gray bitmap again without GrayMode writes three components.
    TJPEGImage again;
    again.CopyFrom(&bitmap);
    again.Encode();
    TMemoryStream stream;
    again.WriteToStream(stream);
    stream.setPosition(0);
    TJPEGImage read;
    read.ReadFromStream(stream);
    EXPECT_FALSE(read.data().IsGray);
}

TEST_F(JpegReference, ProgressiveReadShowsTheSamePictureInTheEnd) {
    TJPEGImage jpeg;
    RgbPicture reference;
    decodeBoth(encode(70, false, true), {"-dct", "float"}, jpeg, reference);
    jpeg.setProgressiveRead(true);
    EXPECT_EQ(bitmapColours(jpeg.Decode()).rgb, reference.rgb);
}

TEST_F(JpegReference, ScaledDecodeHasTheLibrarySizeRoundedUp) {
    TJPEGImage jpeg;
    RgbPicture reference;
    decodeBoth(encode(70, false, false), {"-dct", "float", "-scale", "1/4"}, jpeg, reference);
    jpeg.setDecodeScale(TJPEGDecodeScale::Quarter);
    EXPECT_EQ(jpeg.ImageWidth(), 21); // 83 / 4 rounded up
    EXPECT_EQ(jpeg.ImageHeight(), 16);
    EXPECT_EQ(bitmapColours(jpeg.Decode()).rgb, reference.rgb);
}

// The optimised coding changes the file's tables and scans, never its coefficients: the
// file jpegtran makes of the baseline one, byte for byte, and the same pixels in fewer bytes.
TEST_F(JpegReference, OptimizedCodingIsTheBaselineFileRecodedLosslessly) {
    if (!referenceToolExists("jpegtran")) {
        GTEST_SKIP() << "jpegtran (libjpeg-turbo-progs) is not installed";
    }
    for (const bool gray : {false, true}) {
        for (const std::uint8_t quality : {10, 75, 98}) {
            SCOPED_TRACE(testing::Message() << "quality " << int(quality) << ", gray " << gray);
            const std::vector<std::uint8_t> baseline = encode(quality, gray, false);
            TJPEGImage jpeg;
            jpeg.setGrayMode(gray);
            takePicture(jpeg, picture_);
            jpeg.setQuality(quality);
            jpeg.setOptimizedCoding(true);
            TMemoryStream stream;
            jpeg.WriteToStream(stream);
            const std::vector<std::uint8_t> optimized(stream.memory(),
                                                      stream.memory() + stream.size());
            writeBytes(folder_ / "baseline.jpg", baseline);
            ASSERT_EQ(runReferenceTool({"jpegtran", "-copy", "all", "-optimize", "-progressive",
                                        (folder_ / "baseline.jpg").string()},
                                       folder_ / "recoded.jpg"),
                      0);
            EXPECT_EQ(optimized, readBytes(folder_ / "recoded.jpg"));
            EXPECT_LT(optimized.size(), baseline.size());
            TJPEGImage ours;
            RgbPicture fromBaseline, fromOptimized;
            decodeBoth(baseline, {"-dct", "float"}, ours, fromBaseline);
            const RgbPicture oursFromBaseline = bitmapColours(ours.Decode());
            decodeBoth(optimized, {"-dct", "float"}, ours, fromOptimized);
            EXPECT_EQ(fromOptimized.rgb, fromBaseline.rgb);
            EXPECT_EQ(bitmapColours(ours.Decode()).rgb, oursFromBaseline.rgb);
        }
    }
}
