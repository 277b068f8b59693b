// Shrinking a JPEG file through a reduced decode and a bitmap through the filter alone.

#include "imaging/resample/ShrinkPicture.h"

#include "core/EAbort.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/resample/LanczosResampler.h"
#include "support/JpegTestPictures.h"
#include "support/ReferenceTool.h"

#include <gtest/gtest.h>

namespace {

void readJpeg(TJPEGImage& jpeg, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.writeBuffer(bytes.data(), bytes.size());
    stream.setPosition(0);
    jpeg.ReadFromStream(stream);
}

RgbPicture lanczos(const RgbPicture& picture, PixelSize size) {
    TBitmap source;
    fillBitmap(source, picture);
    TBitmap target;
    LanczosResampler::resize(source, size, target);
    return bitmapColours(target);
}

TEST(ShrinkPicture, AJpegFileIsDecodedAtAQuarterWhenTheFilterStillHasEnoughToDo) {
    if (!referenceToolExists("djpeg")) {
        GTEST_SKIP() << "djpeg (libjpeg-turbo-progs) is not installed";
    }
    const std::filesystem::path work = freshTestFolder("trevano-shrink");
    const RgbPicture picture = makeTestPicture(1000, 700);
    const std::vector<std::uint8_t> bytes = encodePicture(picture, 90);
    writeBytes(work / "in.jpg", bytes);
    ASSERT_EQ(runReferenceTool({"djpeg", "-dct", "float", "-scale", "1/4", "-outfile",
                                (work / "quarter.ppm").string(), (work / "in.jpg").string()}),
              0);
    TJPEGImage jpeg;
    readJpeg(jpeg, bytes);
    TBitmap shrunk;
    // 250 x 175 decoded, 2.5 times the target: a quarter, not an eighth.
    EXPECT_TRUE(ShrinkPicture::fromJpeg(jpeg, 100, shrunk));
    EXPECT_EQ(jpeg.DecodeScale(), TJPEGDecodeScale::Quarter);
    const RgbPicture result = bitmapColours(shrunk);
    EXPECT_EQ(result.rgb, lanczos(readPpm(work / "quarter.ppm"), {100, 70}).rgb);
    jpeg.setDecodeScale(TJPEGDecodeScale::Full);
    EXPECT_NE(result.rgb, lanczos(bitmapColours(jpeg.Decode()), {100, 70}).rgb);
}

TEST(ShrinkPicture, APictureWithinTheLimitKeepsItsPixels) {
    const RgbPicture picture = makeTestPicture(120, 90);
    TJPEGImage jpeg;
    readJpeg(jpeg, encodePicture(picture, 90));
    TBitmap kept;
    EXPECT_FALSE(ShrinkPicture::fromJpeg(jpeg, 120, kept));
    EXPECT_EQ(jpeg.DecodeScale(), TJPEGDecodeScale::Full);
    EXPECT_EQ(bitmapColours(kept).rgb, bitmapColours(jpeg.Decode()).rgb);

    TBitmap bitmap;
    fillBitmap(bitmap, picture);
    bitmap.setPixelFormat(TPixelFormat::Bits8);
    EXPECT_FALSE(ShrinkPicture::fromBitmap(bitmap, 0, kept));
    EXPECT_EQ(kept.pixelFormat(), TPixelFormat::Bits24);
    EXPECT_EQ(bitmapColours(kept).rgb, bitmapColours(bitmap).rgb);
    EXPECT_TRUE(ShrinkPicture::fromBitmap(bitmap, 60, kept));
    EXPECT_EQ(kept.width(), 60);
    EXPECT_EQ(kept.height(), 45);
}

TEST(ShrinkPicture, AGreyJpegFileStaysGrey) {
    TJPEGImage jpeg;
    readJpeg(jpeg, encodePicture(makeTestPicture(400, 300), 85, true));
    TBitmap shrunk;
    EXPECT_TRUE(ShrinkPicture::fromJpeg(jpeg, 150, shrunk));
    const RgbPicture grey = bitmapColours(shrunk);
    for (std::size_t i = 0; i < grey.rgb.size(); i += 3) {
        ASSERT_EQ(grey.rgb[i], grey.rgb[i + 1]);
        ASSERT_EQ(grey.rgb[i], grey.rgb[i + 2]);
    }
}

TEST(ShrinkPicture, AStopThrowsEAbortAndLeavesTheTarget) {
    TJPEGImage jpeg;
    readJpeg(jpeg, encodePicture(makeTestPicture(400, 300), 85));
    std::stop_source stop;
    stop.request_stop();
    TBitmap target;
    EXPECT_THROW(ShrinkPicture::fromJpeg(jpeg, 100, target, stop.get_token()), EAbort);
    EXPECT_TRUE(target.empty());
}

} // namespace
