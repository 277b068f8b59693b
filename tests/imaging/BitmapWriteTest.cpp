#include "core/TLittleEndian.h"
#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/bmp/TStandardPalettes.h"

#include <gtest/gtest.h>

namespace {

std::uint32_t field32(const Bytes& bytes, std::size_t offset) {
    return TLittleEndian::u32(bytes.data() + offset);
}

std::uint16_t field16(const Bytes& bytes, std::size_t offset) {
    return TLittleEndian::u16(bytes.data() + offset);
}

class BitmapRewrite : public testing::TestWithParam<SampleBitmap> {};

TEST_P(BitmapRewrite, WritesWhatItReadAndReadsItBack) {
    const SampleBitmap& sample = GetParam();
    TBitmap bitmap;
    readBitmap(bitmap, sample.file.bytes());
    const Bytes written = writeBitmap(bitmap);
    if (sample.rewrittenExactly) {
        EXPECT_EQ(written, sample.file.bytes());
    } else {
        EXPECT_EQ(field32(written, 14), 40u); // larger header forms come back as 40 bytes
    }
    EXPECT_EQ(field32(written, 2), written.size());
    TBitmap reread;
    readBitmap(reread, written);
    EXPECT_EQ(reread.pixelFormat(), sample.format);
    EXPECT_EQ(pixelsOf(reread), colours(sample.expected));
}

INSTANTIATE_TEST_SUITE_P(HeadersAndFormats, BitmapRewrite, testing::ValuesIn(sampleBitmaps()),
                         caseName);

TEST(BitmapWrite, NewPictureIsWrittenInTheDeviceDepth) {
    TBitmap bitmap;
    bitmap.setSize(3, 2);
    const Bytes written = writeBitmap(bitmap);
    ASSERT_EQ(written.size(), 54u + 4 * 3 * 2);
    EXPECT_EQ(written[0], 'B');
    EXPECT_EQ(written[1], 'M');
    EXPECT_EQ(field32(written, 2), 78u);  // file size
    EXPECT_EQ(field32(written, 10), 54u); // pixel offset
    EXPECT_EQ(field32(written, 14), 40u); // header size
    EXPECT_EQ(field32(written, 18), 3u);  // width
    EXPECT_EQ(field32(written, 22), 2u);  // height, bottom-up
    EXPECT_EQ(field16(written, 26), 1u);  // planes
    EXPECT_EQ(field16(written, 28), 32u); // bit count
    EXPECT_EQ(field32(written, 30), 0u);  // no compression
    EXPECT_EQ(field32(written, 34), 24u); // pixel bytes
    EXPECT_EQ(field32(written, 46), 0u);  // no table
    EXPECT_EQ(Bytes(written.begin() + 54, written.begin() + 58), (Bytes{255, 255, 255, 0}));
}

TEST(BitmapWrite, CoreFileIsWrittenWithTheCoreHeaderAfterAChange) {
    BmpFile file =
        withTable(quadFile(4, {{0x01}, {0x10}}), std::vector<std::uint32_t>(16, black), 0);
    file.table[1] = white;
    file = core(file);
    TBitmap bitmap;
    readBitmap(bitmap, file.bytes());
    bitmap.setPixel(1, 1, colour(white));
    const Bytes written = writeBitmap(bitmap);
    EXPECT_EQ(field32(written, 14), 12u);
    EXPECT_EQ(field32(written, 10), 14u + 12 + 3 * 16);
    EXPECT_EQ(written.size(), 14u + 12 + 3 * 16 + 8);
    TBitmap reread;
    readBitmap(reread, written);
    EXPECT_EQ(pixelsOf(reread), colours({white, black, black, white}));
}

TEST(BitmapWrite, TableSizeFollowsTheColoursInUse) {
    TBitmap bitmap;
    readBitmap(bitmap, bits8.bytes());
    bitmap.setPalette({{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}});
    Bytes written = writeBitmap(bitmap);
    EXPECT_EQ(field32(written, 46), 3u); // colours used
    EXPECT_EQ(field32(written, 10), 14u + 40 + 4 * 3);

    bitmap.setPalette(TStandardPalettes::halftone());
    written = writeBitmap(bitmap);
    EXPECT_EQ(field32(written, 46), 0u); // a full table says 0
    EXPECT_EQ(field32(written, 10), 14u + 40 + 4 * 256);
}

TEST(BitmapWrite, PaletteOfATrueColourPictureIsWrittenUpTo255Entries) {
    TBitmap bitmap;
    readBitmap(bitmap, bits32.bytes());
    bitmap.setPalette(TStandardPalettes::halftone());
    const Bytes written = writeBitmap(bitmap);
    EXPECT_EQ(field32(written, 46), 255u);
    EXPECT_EQ(field32(written, 10), 14u + 40 + 4 * 255);
    TBitmap reread;
    readBitmap(reread, written);
    EXPECT_EQ(pixelsOf(reread), colours(quad));
}

TEST(BitmapWrite, ConvertedPictureLosesTheTableAndTheCoreHeader) {
    TBitmap bitmap;
    readBitmap(bitmap, core(monochrome).bytes());
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    const Bytes written = writeBitmap(bitmap);
    EXPECT_EQ(field32(written, 14), 40u);
    EXPECT_EQ(written.size(), 54u + 16);
    EXPECT_EQ(field16(written, 28), 24u);
}

TEST(BitmapWrite, EmptyPictureWritesNothing) {
    TBitmap bitmap;
    EXPECT_TRUE(writeBitmap(bitmap).empty());
    bitmap.setWidth(5);
    EXPECT_TRUE(writeBitmap(bitmap).empty());
}

} // namespace
