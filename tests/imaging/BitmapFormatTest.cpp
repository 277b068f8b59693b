#include "imaging/BmpSamples.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/picture/EInvalidGraphic.h"
#include "imaging/picture/EInvalidGraphicOperation.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

template <typename Action> std::string messageOf(Action action) {
    try {
        action();
    } catch (const Exception& error) {
        return error.message();
    }
    return "";
}

TEST(BitmapFormat, NewPictureIsWhiteInTheDeviceFormat) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.drawingBitmap(), nullptr);
    int changes = 0;
    bitmap.OnChange = [&changes](TGraphic&) { ++changes; };
    bitmap.setSize(3, 2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Device);
    EXPECT_EQ(pixelsOf(bitmap), std::vector<std::uint32_t>(6, colour(white)));
    EXPECT_EQ(bitmap.rowStep(), -12);
    EXPECT_EQ(bitmap.drawingBitmap(), &bitmap);
}

TEST(BitmapFormat, PictureWithoutPixelsUntilBothSidesAreSet) {
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits8);
    bitmap.setWidth(2);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 2);
    bitmap.setHeight(1);
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits8);
    EXPECT_EQ(bitmap.palette().size(), 256u);
    EXPECT_EQ(pixelsOf(bitmap), std::vector<std::uint32_t>(2, colour(white)));
}

TEST(BitmapFormat, ReleasedImageKeepsItsFormatForTheNextSize) {
    TBitmap bitmap;
    readBitmap(bitmap, bits4.bytes());
    bitmap.releaseImage();
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 0);
    EXPECT_EQ(bitmap.height(), 0);
    EXPECT_TRUE(bitmap.palette().empty());
    bitmap.setSize(1, 1);
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits4);
    EXPECT_EQ(bitmap.pixel(0, 0), colour(white));
}

struct ResizeCase {
    const char* name;
    const BmpFile* file;
    std::vector<std::uint32_t> corner; // the 2 x 2 picture, 0xRRGGBB
};

class BitmapResize : public testing::TestWithParam<ResizeCase> {};

TEST_P(BitmapResize, KeepsTheTopLeftCornerAndFillsWhite) {
    TBitmap bitmap;
    readBitmap(bitmap, GetParam().file->bytes());
    const TPixelFormat format = bitmap.pixelFormat();
    const auto& c = GetParam().corner;
    bitmap.setSize(3, 3);
    EXPECT_EQ(bitmap.pixelFormat(), format);
    EXPECT_EQ(pixelsOf(bitmap),
              colours({c[0], c[1], white, c[2], c[3], white, white, white, white}));
    bitmap.setSize(1, 1);
    EXPECT_EQ(pixelsOf(bitmap), colours({c[0]}));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BitmapResize,
    testing::Values(ResizeCase{"bits1", &monochrome, {white, black, black, white}},
                    ResizeCase{"bits4", &bits4, quad}, ResizeCase{"bits8", &bits8, quad},
                    ResizeCase{"bits15", &bits555, quad}, ResizeCase{"bits16", &bits565, quad},
                    ResizeCase{"bits24", &bits24, quad}, ResizeCase{"bits32", &bits32, quad},
                    ResizeCase{"topDown", &topDown24, quad}),
    caseName);

TEST(BitmapFormat, NegativeSidesAndPicturesBeyondOneGibibyteAreRefused) {
    TBitmap bitmap;
    EXPECT_EQ(messageOf([&] { bitmap.setSize(-1, 2); }), "Image bitmap incorrecte");
    EXPECT_EQ(messageOf([&] { bitmap.setSize(32768, 32768); }), "Image bitmap incorrecte");
    // One row of four bytes a pixel beyond the bound, in any format.
    bitmap.setPixelFormat(TPixelFormat::Bits1);
    EXPECT_EQ(messageOf([&] { bitmap.setSize((1 << 28) + 1, 1); }), "Image bitmap incorrecte");
    EXPECT_TRUE(bitmap.empty());

    // Only memory bounds a side.
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(40000, 2);
    EXPECT_EQ(bitmap.pixel(39999, 1), colour(white));
}

struct ConversionCase {
    TPixelFormat format;
    std::vector<std::uint32_t> expected; // the quad picture after the conversion
};

class BitmapConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(BitmapConversion, KeepsColoursTheFormatCanHold) {
    TBitmap bitmap;
    readBitmap(bitmap, bits24.bytes());
    bitmap.setPixelFormat(GetParam().format);
    EXPECT_EQ(bitmap.pixelFormat(), GetParam().format);
    EXPECT_EQ(pixelsOf(bitmap), colours(GetParam().expected));
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    EXPECT_EQ(pixelsOf(bitmap), colours(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapConversion,
                         testing::Values(ConversionCase{TPixelFormat::Device, quad},
                                         ConversionCase{TPixelFormat::Bits1,
                                                        {black, black, black, white}},
                                         ConversionCase{TPixelFormat::Bits4, quad},
                                         ConversionCase{TPixelFormat::Bits8, quad},
                                         ConversionCase{TPixelFormat::Bits15, quad},
                                         ConversionCase{TPixelFormat::Bits16, quad},
                                         ConversionCase{TPixelFormat::Bits32, quad}));

TEST(BitmapFormat, EightBitsToTwentyFourKeepsEveryColourOfTheTable) {
    BmpFile file =
        withTable(quadFile(8, {{2, 3}, {0, 1}}), {0x123456, 0x89ABCD, 0xFEDCBA, 0x010203}, 4);
    TBitmap bitmap;
    readBitmap(bitmap, file.bytes());
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    EXPECT_EQ(pixelsOf(bitmap), colours({0x123456, 0x89ABCD, 0xFEDCBA, 0x010203}));
}

TEST(BitmapFormat, ThirtyTwoToTwentyFourDropsOnlyTheReservedByte) {
    BmpFile file =
        quadFile(32, {{1, 2, 3, 0x77, 4, 5, 6, 0x88}, {7, 8, 9, 0x99, 10, 11, 12, 0xAA}});
    TBitmap bitmap;
    readBitmap(bitmap, file.bytes());
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    EXPECT_EQ(Bytes(bitmap.scanLine(0), bitmap.scanLine(0) + 6), (Bytes{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(Bytes(bitmap.scanLine(1), bitmap.scanLine(1) + 6), (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST(BitmapFormat, TableFormatsTakeTheNearestColour) {
    TBitmap bitmap;
    bitmap.setSize(1, 1);
    bitmap.setPixel(0, 0, colour(0xFA0A0A));
    bitmap.setPixelFormat(TPixelFormat::Bits8);
    EXPECT_EQ(bitmap.pixel(0, 0), colour(red));
    bitmap.setPixelFormat(TPixelFormat::Bits4);
    EXPECT_EQ(bitmap.palette().size(), 16u);
    EXPECT_EQ(bitmap.pixel(0, 0), colour(red));
}

TEST(BitmapFormat, CustomFormatIsRefused) {
    TBitmap bitmap;
    EXPECT_EQ(messageOf([&] { bitmap.setPixelFormat(TPixelFormat::Custom); }),
              "Format de pixel incorrect");
    readBitmap(bitmap, bits24.bytes());
    EXPECT_THROW(bitmap.setPixelFormat(TPixelFormat::Custom), EInvalidGraphic);
    EXPECT_EQ(bitmap.pixelFormat(), TPixelFormat::Bits24);

    readBitmap(bitmap, sampleBitmap("custom16").file.bytes());
    ASSERT_EQ(bitmap.pixelFormat(), TPixelFormat::Custom);
    EXPECT_NO_THROW(bitmap.setPixelFormat(TPixelFormat::Custom)); // already so: nothing to do
}

struct PixelCase {
    TPixelFormat format;
    std::uint32_t written; // 0xRRGGBB
    std::uint32_t read;
};

class BitmapPixels : public testing::TestWithParam<PixelCase> {};

TEST_P(BitmapPixels, ReadWhatWasWrittenAsTheFormatHoldsIt) {
    TBitmap bitmap;
    bitmap.setPixelFormat(GetParam().format);
    bitmap.setSize(3, 2);
    int changes = 0;
    bitmap.OnChange = [&changes](TGraphic&) { ++changes; };
    bitmap.setPixel(1, 1, colour(GetParam().written));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bitmap.pixel(1, 1), colour(GetParam().read));
    EXPECT_EQ(bitmap.pixel(0, 1), colour(white));
    EXPECT_EQ(bitmap.pixel(2, 1), colour(white));
    EXPECT_EQ(bitmap.pixel(1, 0), colour(white));
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapPixels,
                         testing::Values(PixelCase{TPixelFormat::Device, 0x123456, 0x123456},
                                         PixelCase{TPixelFormat::Bits1, 0x123456, black},
                                         PixelCase{TPixelFormat::Bits4, 0x123456, 0x000080},
                                         PixelCase{TPixelFormat::Bits8, 0x123456, 0x003366},
                                         PixelCase{TPixelFormat::Bits15, 0x123456, 0x103152},
                                         PixelCase{TPixelFormat::Bits16, 0x123456, 0x103452},
                                         PixelCase{TPixelFormat::Bits24, 0x123456, 0x123456},
                                         PixelCase{TPixelFormat::Bits32, 0x123456, 0x123456}));

TEST(BitmapPixels, OutsideThePictureNothingIsReadOrWritten) {
    TBitmap bitmap;
    EXPECT_EQ(bitmap.pixel(0, 0), 0xFFFFFFFFu);
    bitmap.setSize(2, 2);
    bitmap.setPixel(2, 0, 0);
    bitmap.setPixel(0, -1, 0);
    EXPECT_EQ(bitmap.pixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(bitmap.pixel(0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(pixelsOf(bitmap), std::vector<std::uint32_t>(4, colour(white)));
}

TEST(BitmapPixels, RowIndexOutOfRangeIsRefused) {
    TBitmap bitmap;
    const TBitmap& view = bitmap;
    EXPECT_EQ(messageOf([&] { view.scanLine(0); }), "Indice ligne hors limites");
    bitmap.setSize(2, 2);
    EXPECT_THROW(bitmap.scanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.scanLine(2), EInvalidGraphicOperation);
    EXPECT_NO_THROW(bitmap.scanLine(1));
}

TEST(BitmapPixels, PaletteIndexMeansTableEntry) {
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits8);
    bitmap.setSize(3, 1);
    std::uint8_t* row = bitmap.scanLine(0);
    row[0] = 2;
    row[1] = 0;
    row[2] = 1;
    bitmap.setPalette({{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}});
    EXPECT_EQ(pixelsOf(bitmap), colours({blue, red, green}));
}

TEST(BitmapCopy, CopyOnWriteLeavesTheOriginalAlone) {
    TBitmap original;
    readBitmap(original, bits24.bytes());
    TBitmap copy;
    int changes = 0;
    copy.OnChange = [&changes](TGraphic&) { ++changes; };
    copy.CopyFrom(&original);
    EXPECT_EQ(changes, 1);
    const TBitmap& view = copy;
    EXPECT_EQ(view.scanLine(0), static_cast<const TBitmap&>(original).scanLine(0));

    copy.setPixel(0, 0, colour(black));
    copy.scanLine(1)[0] = 0;
    EXPECT_EQ(pixelsOf(original), colours(quad));
    EXPECT_EQ(pixelsOf(copy), colours({black, green, 0x000000, white}));

    original.setPixelFormat(TPixelFormat::Bits8);
    EXPECT_EQ(copy.pixelFormat(), TPixelFormat::Bits24);
}

TEST(BitmapCopy, CopyFromNothingEmpties) {
    TBitmap bitmap;
    readBitmap(bitmap, bits24.bytes());
    bitmap.CopyFrom(nullptr);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.width(), 0);
}

TEST(BitmapCopy, TransparencyComesWithTheCopy) {
    TBitmap original;
    original.setTransparent(true);
    TBitmap copy;
    copy.CopyFrom(&original);
    EXPECT_TRUE(copy.transparent());
}

class BitmapDrawing : public testing::TestWithParam<SampleBitmap> {};

TEST_P(BitmapDrawing, EveryFormatGivesOpaqueBlueGreenRedRowsTopFirst) {
    TBitmap bitmap;
    readBitmap(bitmap, GetParam().file.bytes());
    constexpr std::ptrdiff_t stride = 12; // wider than the rows, to see the stride is used
    Bytes drawn(2 * stride, 0x55);
    bitmap.copyToBgra32(drawn.data(), stride);
    Bytes expected(2 * stride, 0x55);
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t rgb = GetParam().expected[i];
        std::uint8_t* pixel = expected.data() + (i / 2) * stride + (i % 2) * 4;
        pixel[0] = static_cast<std::uint8_t>(rgb);
        pixel[1] = static_cast<std::uint8_t>(rgb >> 8);
        pixel[2] = static_cast<std::uint8_t>(rgb >> 16);
        pixel[3] = 255;
    }
    EXPECT_EQ(drawn, expected);
}

INSTANTIATE_TEST_SUITE_P(HeadersAndFormats, BitmapDrawing, testing::ValuesIn(sampleBitmaps()),
                         caseName);

} // namespace
