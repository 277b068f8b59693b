#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"

#include <gtest/gtest.h>

namespace {

class BitmapForms : public testing::TestWithParam<SampleBitmap> {};

TEST_P(BitmapForms, ReadBackPixelExact) {
    const SampleBitmap& form = GetParam();
    TBitmap bitmap;
    readBitmap(bitmap, form.file.bytes());
    EXPECT_EQ(bitmap.width(), 2);
    EXPECT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.pixelFormat(), form.format);
    EXPECT_EQ(pixelsOf(bitmap), colours(form.expected));
}

INSTANTIATE_TEST_SUITE_P(HeadersAndFormats, BitmapForms, testing::ValuesIn(sampleBitmaps()),
                         caseName);

TEST(BitmapRead, TopDownFileKeepsItsRowOrder) {
    TBitmap bitmap;
    readBitmap(bitmap, topDown24.bytes());
    EXPECT_GT(bitmap.rowStep(), 0);
    EXPECT_EQ(bitmap.scanLine(0)[2], 0xFF); // red, the top row, comes first in the file
    EXPECT_EQ(bitmap.scanLine(1), bitmap.scanLine(0) + bitmap.rowStep());

    readBitmap(bitmap, bits24.bytes());
    EXPECT_EQ(bitmap.rowStep(), -8);
    EXPECT_EQ(bitmap.scanLine(1), bitmap.scanLine(0) - 8);
}

TEST(BitmapRead, TableShorterThanTheFormatShowsMissingEntriesBlack) {
    BmpFile file = withTable(quadFile(8, {{2, 7}, {0, 1}}), {red, green, blue}, 3);
    TBitmap bitmap;
    readBitmap(bitmap, file.bytes());
    EXPECT_EQ(pixelsOf(bitmap), colours({red, green, blue, black}));
    EXPECT_EQ(bitmap.palette().size(), 3u);
}

TEST(BitmapRead, PaletteOfATrueColourFileIsKept) {
    TBitmap bitmap;
    readBitmap(bitmap, withTable(bits24, {red, blue}, 2).bytes());
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
    ASSERT_EQ(bitmap.palette().size(), 2u);
    EXPECT_EQ(bitmap.palette()[1].blue, 0xFF);
}

TEST(BitmapRead, PixelsBehindAGapAfterTheTableAreFound) {
    BmpFile file = bits8;
    file.gap = 6;
    TBitmap bitmap;
    readBitmap(bitmap, file.bytes());
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
}

// Some writers announce more than they hold, or hold more than a reader keeps; the pixel
// offset says where the pixels are.
BmpFile tableOf(std::size_t entries, std::uint32_t used, std::uint32_t headerSize = 40) {
    std::vector<std::uint32_t> table(entries, black);
    std::copy(quad.begin(), quad.end(), table.begin());
    BmpFile file = withTable(quadFile(8, {{2, 3}, {0, 1}}), table, used);
    file.headerSize = headerSize;
    return file;
}

TEST(BitmapRead, TablesAreFoundWhereverThePixelOffsetEndsThem) {
    TBitmap bitmap;
    readBitmap(bitmap, tableOf(252, 0, 12).bytes()); // a core table of fewer entries
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
    EXPECT_EQ(bitmap.palette().size(), 252u);

    readBitmap(bitmap, tableOf(300, 300).bytes()); // more than 8 bits of index can reach
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
    EXPECT_EQ(bitmap.palette().size(), 256u);
    EXPECT_EQ(writeBitmap(bitmap).size(), 14 + 40 + 4 * 256 + 8u);

    // 256 entries announced, 4 held: the pixels are inside what the table would take.
    Bytes shortTable = tableOf(4, 0).bytes();
    shortTable.resize(shortTable.size() + 4 * 256, 0xEE);
    readBitmap(bitmap, shortTable);
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
}

TEST(BitmapRead, ReadsFromTheStreamPosition) {
    const Bytes file = bits24.bytes();
    TMemoryStream stream;
    stream.writeBuffer("junk", 4);
    stream.writeBuffer(file.data(), file.size());
    stream.setPosition(4);
    TBitmap bitmap;
    bitmap.ReadFromStream(stream);
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
}

TEST(BitmapRead, EmptyStreamGivesAnEmptyPicture) {
    TBitmap bitmap;
    readBitmap(bitmap, bits24.bytes());
    int changes = 0;
    bitmap.OnChange = [&changes](TGraphic&) { ++changes; };
    readBitmap(bitmap, {});
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_EQ(bitmap.height(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(BitmapRead, FailedReadLeavesThePictureAsItWas) {
    TBitmap bitmap;
    readBitmap(bitmap, bits8.bytes());
    Bytes truncated = bits24.bytes();
    truncated.pop_back();
    EXPECT_THROW(readBitmap(bitmap, truncated), Exception);
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits8);
    EXPECT_EQ(pixelsOf(bitmap), colours(quad));
}

BmpFile changed(BmpFile file, void (*change)(BmpFile&)) {
    change(file);
    return file;
}

// Another size; pixel bytes are the file's own unless a count is given.
BmpFile sized(BmpFile file, std::int32_t width, std::int32_t height, std::size_t pixelBytes = 0) {
    file.width = width;
    file.height = height;
    if (pixelBytes != 0) {
        file.pixels.assign(pixelBytes, 0x80);
    }
    return file;
}

Bytes cut(const BmpFile& file, std::size_t size) {
    Bytes bytes = file.bytes();
    bytes.resize(size);
    return bytes;
}

Bytes withHeaderSize(std::uint32_t size) {
    Bytes bytes = bits24.bytes();
    bytes[14] = static_cast<std::uint8_t>(size);
    bytes[15] = static_cast<std::uint8_t>(size >> 8);
    bytes[16] = static_cast<std::uint8_t>(size >> 16);
    bytes[17] = static_cast<std::uint8_t>(size >> 24);
    return bytes;
}

struct CorruptCase {
    const char* name;
    Bytes bytes;
    const char* message; // "" when the file must read
};

class CorruptBitmaps : public testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptBitmaps, FailWithTheirMessage) {
    EXPECT_EQ(readError(GetParam().bytes), GetParam().message);
}

constexpr const char* invalid = "Image bitmap incorrecte";
constexpr const char* readFailure = "Erreur de lecture du flux";

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptBitmaps,
    testing::Values(
        CorruptCase{"oneByte", {'B'}, readFailure},
        CorruptCase{"badSignature", changed(bits24, [](BmpFile& f) { f.signature = "MB"; }).bytes(),
                    invalid},
        CorruptCase{"twoPlanes", changed(bits24, [](BmpFile& f) { f.planes = 2; }).bytes(),
                    invalid},
        CorruptCase{"zeroPlanesInCoreHeader",
                    changed(core(bits24), [](BmpFile& f) { f.planes = 0; }).bytes(), invalid},
        CorruptCase{"bitCount3", changed(bits24, [](BmpFile& f) { f.bitCount = 3; }).bytes(),
                    invalid},
        CorruptCase{"bitCount0", changed(bits24, [](BmpFile& f) { f.bitCount = 0; }).bytes(),
                    invalid},
        CorruptCase{"zeroWidth", changed(bits24, [](BmpFile& f) { f.width = 0; }).bytes(), invalid},
        CorruptCase{"negativeWidth", changed(bits24, [](BmpFile& f) { f.width = -2; }).bytes(),
                    invalid},
        CorruptCase{"zeroHeight", changed(bits24, [](BmpFile& f) { f.height = 0; }).bytes(),
                    invalid},
        CorruptCase{"smallestHeight",
                    changed(bits24, [](BmpFile& f) { f.height = INT32_MIN; }).bytes(), invalid},
        CorruptCase{"rowBeyondOneGibibyte",
                    changed(monochrome, [](BmpFile& f) { f.width = (1 << 28) + 1; }).bytes(),
                    invalid},
        CorruptCase{"width40000", sized(bits24, 40000, 1, 3 * 40000).bytes(), ""},
        CorruptCase{"fourGibibytesOfPixels", sized(bits32, 32768, 32768).bytes(), invalid},
        CorruptCase{"bigPictureInASmallFile", sized(bits24, 10000, 10000).bytes(), readFailure},
        CorruptCase{"rle8With24Bits",
                    changed(bits24, [](BmpFile& f) { f.compression = 1; }).bytes(), invalid},
        CorruptCase{"bitFieldsWith24Bits",
                    changed(bits24, [](BmpFile& f) { f.compression = 3; }).bytes(), invalid},
        CorruptCase{"embeddedPng", changed(bits24, [](BmpFile& f) { f.compression = 5; }).bytes(),
                    invalid},
        CorruptCase{"topDownRle",
                    changed(withTable(quadFile(8, {{0, 0}}), quad, 4),
                            [](BmpFile& f) {
                                f.compression = 1;
                                f.height = -2;
                            })
                        .bytes(),
                    invalid},
        CorruptCase{"tableOf300BeyondTheFile",
                    changed(bits8, [](BmpFile& f) { f.usedColours = 300; }).bytes(), readFailure},
        CorruptCase{"tableOf300", tableOf(300, 300).bytes(), ""},
        CorruptCase{"coreTableOf252", tableOf(252, 0, 12).bytes(), ""},
        CorruptCase{"headerSize8", withHeaderSize(8), invalid},
        CorruptCase{"headerSizeBeyondTheFile", withHeaderSize(0xFFFFFFFF), readFailure},
        CorruptCase{"endsInFileHeader", cut(bits24, 10), readFailure},
        CorruptCase{"endsInInfoHeader", cut(bits24, 30), readFailure},
        CorruptCase{"endsInMasks", cut(bits565, 60), readFailure},
        CorruptCase{"endsInTable", cut(bits8, 60), readFailure},
        CorruptCase{"endsInPixels", cut(bits24, 14 + 40 + 10), readFailure},
        CorruptCase{"oneByteMoreReads",
                    changed(bits24, [](BmpFile& f) { f.pixels.push_back(0); }).bytes(), ""}),
    caseName);

} // namespace
