// PNG files made with libspng's own encoder, read back: every colour type and depth, the
// transparency laid on a background, the metadata kept, and broken files refused in words.
#include "imaging/formats/PngReader.h"

#include "core/EFOpenError.h"
#include "imaging/PictureReaderChecks.h"
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"

#include <cstring>
#include <gtest/gtest.h>
#include <spng.h>

namespace {

using namespace PictureReaderChecks;

struct Png {
    spng_ihdr header;
    std::vector<std::uint8_t> rows; // as PNG stores them, 16-bit samples in the machine's order
    spng_plte palette = {};         // none when it has no entry
    spng_trns transparency = {};
    Bytes profile = {};
    Bytes exif = {};
    std::string xmp = {};
};

Bytes encode(Png png) {
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_ihdr(context, &png.header);
    if (png.palette.n_entries > 0) {
        spng_set_plte(context, &png.palette);
    }
    if (png.transparency.n_type3_entries > 0) {
        spng_set_trns(context, &png.transparency);
    }
    spng_iccp iccp{"profile", png.profile.size(), reinterpret_cast<char*>(png.profile.data())};
    if (!png.profile.empty()) {
        spng_set_iccp(context, &iccp);
    }
    spng_exif exif{png.exif.size(), reinterpret_cast<char*>(png.exif.data())};
    if (!png.exif.empty()) {
        spng_set_exif(context, &exif);
    }
    char none[] = "";
    spng_text text{
        "XML:com.adobe.xmp", SPNG_ITXT, png.xmp.size(), png.xmp.data(), 1, 0, none, none};
    if (!png.xmp.empty()) {
        spng_set_text(context, &text, 1);
    }
    EXPECT_EQ(spng_encode_image(context, png.rows.data(), png.rows.size(), SPNG_FMT_PNG,
                                SPNG_ENCODE_FINALIZE),
              0);
    std::size_t size = 0;
    int error = 0;
    auto* bytes = static_cast<std::uint8_t*>(spng_get_png_buffer(context, &size, &error));
    Bytes file(bytes, bytes + size);
    std::free(bytes);
    spng_ctx_free(context);
    return file;
}

spng_ihdr header(std::uint32_t width, std::uint8_t depth, std::uint8_t colourType,
                 std::uint8_t interlace = 0) {
    return {width, 1, depth, colourType, 0, 0, interlace};
}

// The pixels of the file's only row, as red + 256 * green + 65536 * blue.
std::vector<std::uint32_t> firstRow(const Bytes& file, std::uint32_t background = 0xFFFFFF) {
    DecodedPicture picture;
    PictureReadOptions options;
    options.background = background;
    PngReader::read(file.data(), file.size(), options, picture);
    return pixelsOf(picture.pixels);
}

// A chunk's checksum, for a header changed here.
std::uint32_t crc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

const spng_plte RedGreenBlue = {3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};

} // namespace

TEST(PngReader, EveryColourTypeAndDepthGivesItsColours) {
    struct Case {
        const char* name;
        Png png;
        std::vector<std::uint32_t> expected;
    };
    const std::vector<Case> cases{
        {"palette, 2 bits",
         {header(3, 2, 3), {0b00'01'10'00}, RedGreenBlue},
         {0xFF, 0xFF00, 0xFF0000}},
        {"grey, 1 bit", {header(2, 1, 0), {0b01'000000}}, {0, 0xFFFFFF}},
        {"grey, 4 bits", {header(2, 4, 0), {0x5F}}, {0x555555, 0xFFFFFF}},
        // Rounded: 0x00FF and 0x01FF would be 0 and 1 with their high byte alone.
        {"grey, 16 bits",
         {header(3, 16, 0), sixteenBits({0x00FF, 0x01FF, 0xFFFF})},
         {0x010101, 0x020202, 0xFFFFFF}},
        {"RGB, 8 bits", {header(1, 8, 2), {10, 20, 30}}, {0x1E140A}},
        {"RGB, 16 bits", {header(1, 16, 2), sixteenBits({0x01FF, 0x8080, 0xFFFF})}, {0xFF8002}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstRow(encode(c.png)), c.expected) << c.name;
    }
}

TEST(PngReader, TransparencyIsLaidOnTheBackground) {
    struct Case {
        const char* name;
        Png png;
        std::uint32_t background;
        std::vector<std::uint32_t> expected;
    };
    const Png palette{header(3, 8, 3), {0, 1, 2}, RedGreenBlue, {0, 0, 0, 0, 3, {0, 255, 128}}};
    const Png grey{header(2, 8, 4), {0, 0, 200, 255}};
    const Png rgba{header(1, 16, 6), sixteenBits({0xFFFF, 0, 0, 0x8000})};
    const std::vector<Case> cases{
        {"palette on white", palette, 0xFFFFFF, {0xFFFFFF, 0xFF00, 0xFF7F7F}},
        {"palette on red", palette, 0x0000FF, {0x0000FF, 0xFF00, 0x80007F}},
        {"grey and alpha on white", grey, 0xFFFFFF, {0xFFFFFF, 0xC8C8C8}},
        {"16-bit RGBA on green", rgba, 0x00FF00, {0x007F80}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstRow(encode(c.png), c.background), c.expected) << c.name;
    }
}

TEST(PngReader, InterlacedPicturesGiveTheSamePixelsAsStraightOnes) {
    for (const std::uint8_t depth : {8, 16}) {
        Png png{{13, 11, depth, 2, 0, 0, 0}, Bytes(13 * 11 * 3 * (depth / 8))};
        for (std::size_t i = 0; i < png.rows.size(); ++i) {
            png.rows[i] = static_cast<std::uint8_t>(i * 37 % 251);
        }
        DecodedPicture straight;
        DecodedPicture interlaced;
        const Bytes file = encode(png);
        png.header.interlace_method = 1;
        const Bytes adam7 = encode(png);
        PngReader::read(file.data(), file.size(), {}, straight);
        PngReader::read(adam7.data(), adam7.size(), {}, interlaced);
        for (int y = 0; y < 11; ++y) {
            ASSERT_EQ(std::memcmp(straight.pixels.scanLine(y), interlaced.pixels.scanLine(y), 39),
                      0)
                << "row " << y << " of " << int(depth) << " bits";
        }
    }
}

TEST(PngReader, KeepsTheProfileTheExifBlockAndTheXmpPacketAsAJpegFileGivesThem) {
    Png png{header(1, 8, 0), {7}};
    png.profile = PhotoSamples::iccProfile("GRAY", 3000);
    png.exif = PhotoSamples::exifBlock({.bigEndian = true, .orientation = 6});
    png.xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    const std::filesystem::path path = freshTestFolder("png-reader") / "picture.png";
    Bytes file = encode(png);
    PhotoSamples::writeFile(path, file);
    file.resize(file.size() - 12); // the end chunk lost: the pixels and chunks before are whole
    for (const bool whole : {true, false}) {
        DecodedPicture picture;
        if (whole) {
            PngReader::read(path.string(), {}, picture);
        } else {
            PngReader::read(file.data(), file.size(), {}, picture);
        }
        EXPECT_EQ(picture.metadata.iccProfile, png.profile);
        EXPECT_EQ(picture.metadata.exif, png.exif);
        EXPECT_EQ(picture.metadata.orientation, 6);
        const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/", 29) + png.xmp;
        EXPECT_EQ(picture.metadata.xmp, std::vector<Bytes>{Bytes(xmp.begin(), xmp.end())});
        EXPECT_EQ(picture.note, whole ? "" : "what follows its pixels was left out: end of stream");
    }
}

TEST(PngReader, BrokenFilesAreRefusedWithTheReason) {
    const Bytes good = encode({{64, 64, 8, 2, 0, 0, 0}, Bytes(64 * 64 * 3, 99)});
    Bytes huge = encode({header(1, 8, 0), {0}});
    for (const std::size_t side : {16, 20}) { // 100000 x 100000, with the header's checksum
        std::copy_n("\0\1\x86\xA0", 4, huge.begin() + side);
    }
    const std::uint32_t checksum = crc(huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i) {
        huge[29 + i] = static_cast<std::uint8_t>(checksum >> (24 - 8 * i));
    }
    Bytes garbled = good;
    garbled[good.size() / 2] ^= 0xFF;
    expectRefused<PngReader>(
        "not a valid PNG file",
        {{{}, "end of stream"},
         {Bytes(100, 'x'), "invalid signature"},
         {Bytes(good.begin(), good.begin() + 60), "end of stream"},
         {garbled, ""}, // in whatever words the byte leads the library to
         {huge, "a picture of 100000 x 100000 pixels, more than the 357 megapixels"}});
    DecodedPicture picture;
    EXPECT_THROW(PngReader::read("/no/such/picture.png", {}, picture), EFOpenError);
}
