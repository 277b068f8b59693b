#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"

#include <gtest/gtest.h>

namespace {

BmpFile rleFile(std::uint32_t compression, int width, int height, Bytes data) {
    BmpFile file;
    file.width = width;
    file.height = height;
    file.compression = compression;
    file.bitCount = compression == 1 ? 8 : 4;
    file.table = {black, red, green, blue, white};
    file.usedColours = 5;
    file.pixels = std::move(data);
    return file;
}

// 4 x 3, bottom row first: a run, end of line; a literal, a delta up one row, a run, end.
const BmpFile rle8 = rleFile(1, 4, 3,
                             {0x03, 0x01, 0x00, 0x00,                   // red red red
                              0x00, 0x03, 0x02, 0x03, 0x04, 0x00,       // green blue white
                              0x00, 0x02, 0x00, 0x01, 0x01, 0x04, 0x00, // delta, white
                              0x01});

// 5 x 2: an alternating run, end of line; a literal, a delta right, a run, end.
const BmpFile rle4 = rleFile(2, 5, 2,
                             {0x05, 0x12, 0x00, 0x00,                         // r g r g r
                              0x00, 0x03, 0x34, 0x20, 0x00, 0x02, 0x01, 0x00, // b w g, skip
                              0x01, 0x10, 0x00, 0x01});                       // red, end

TEST(BitmapRle, Rle8DecodesRunsLiteralsDeltasAndEndsOfLine) {
    TBitmap bitmap;
    readBitmap(bitmap, rle8.bytes());
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Device);
    EXPECT_EQ(pixelsOf(bitmap), colours({black, black, black, white, // top
                                         green, blue, white, black,  //
                                         red, red, red, black}));    // bottom
}

TEST(BitmapRle, Rle4DecodesBothHalvesOfEachByte) {
    TBitmap bitmap;
    readBitmap(bitmap, rle4.bytes());
    EXPECT_EQ(pixelsOf(bitmap), colours({blue, white, green, black, red, //
                                         red, green, red, green, red}));
}

TEST(BitmapRle, UnchangedPictureWritesTheFileBackByteForByte) {
    for (const BmpFile& file : {rle8, rle4}) {
        TBitmap bitmap;
        readBitmap(bitmap, file.bytes());
        TBitmap copy;
        copy.CopyFrom(&bitmap);
        EXPECT_EQ(writeBitmap(copy), file.bytes());
    }
}

TEST(BitmapRle, ChangedPictureWritesItsPixels) {
    TBitmap bitmap;
    readBitmap(bitmap, rle8.bytes());
    TBitmap original;
    original.CopyFrom(&bitmap);
    bitmap.setPixel(0, 0, colour(red));

    const Bytes written = writeBitmap(bitmap);
    EXPECT_EQ(written[28], 32); // bit count
    EXPECT_EQ(written[30], 0);  // no compression
    TBitmap reread;
    readBitmap(reread, written);
    EXPECT_EQ(pixelsOf(reread),
              colours({red, black, black, white, green, blue, white, black, red, red, red, black}));
    EXPECT_EQ(writeBitmap(original), rle8.bytes());
}

struct DamagedCase {
    const char* name;
    BmpFile file;
    std::vector<std::uint32_t> expected; // 0xRRGGBB, top row first
};

class DamagedRle : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedRle, StaysInsideThePicture) {
    TBitmap bitmap;
    readBitmap(bitmap, GetParam().file.bytes());
    EXPECT_EQ(pixelsOf(bitmap), colours(GetParam().expected));
}

const std::vector<std::uint32_t> allBlack(8, black);

INSTANTIATE_TEST_SUITE_P(
    Streams, DamagedRle,
    testing::Values(
        DamagedCase{"runPastTheRowEnd",
                    rleFile(1, 4, 2, {0xFF, 0x01, 0x01, 0x02, 0x00, 0x00, 0x01, 0x03}),
                    {blue, black, black, black, red, red, red, red}},
        DamagedCase{"literalPastTheRowEnd",
                    rleFile(1, 2, 2, {0x00, 0x04, 0x01, 0x02, 0x03, 0x04, 0x00, 0x01}),
                    {black, black, red, green}},
        DamagedCase{"deltaOutOfThePicture", rleFile(1, 4, 2, {0x00, 0x02, 0xFF, 0xFF, 0x04, 0x01}),
                    allBlack},
        DamagedCase{"deltaPastTheRowEnd",
                    rleFile(1, 4, 2, {0x00, 0x02, 0xFF, 0x00, 0x04, 0x01, 0x00, 0x00, 0x01, 0x02}),
                    {green, black, black, black, black, black, black, black}},
        DamagedCase{"deltaCutShort",
                    rleFile(1, 4, 2, {0x01, 0x01, 0x00, 0x02, 0x05}),
                    {black, black, black, black, red, black, black, black}},
        DamagedCase{"literalCutShort",
                    rleFile(1, 4, 2, {0x00, 0xFF, 0x01, 0x02}),
                    {black, black, black, black, red, green, black, black}},
        DamagedCase{"rle4LiteralCutShort",
                    rleFile(2, 4, 2, {0x00, 0xFF, 0x12}),
                    {black, black, black, black, red, green, black, black}},
        DamagedCase{"endsOfLineBeyondTheTop",
                    rleFile(1, 4, 2, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x01}), allBlack},
        DamagedCase{"indexBeyondTheTable", rleFile(1, 4, 2, {0x04, 0xC8}), allBlack},
        DamagedCase{"oddLastByte",
                    rleFile(1, 4, 2, {0x02, 0x03, 0x01}),
                    {black, black, black, black, blue, blue, black, black}},
        DamagedCase{"noData", rleFile(1, 4, 2, {}), allBlack}),
    caseName);

TEST(BitmapRle, PixelCountIsBoundedByTheFile) {
    // The header announces 1000 bytes of data; only 4 follow.
    BmpFile file = rleFile(1, 4, 2, {0x04, 0x02, 0x00, 0x01});
    Bytes bytes = file.bytes();
    bytes[34] = 0xE8; // size of the pixel data: 1000
    bytes[35] = 0x03;
    TBitmap bitmap;
    readBitmap(bitmap, bytes);
    EXPECT_EQ(bitmap.pixel(0, 1), colour(green));
    EXPECT_EQ(writeBitmap(bitmap), bytes);
}

} // namespace
