// TIFF files written with libtiff itself, read back by path and from memory: the layouts read
// as stored, the ones left to libtiff's conversion, transparency, metadata and broken files.
#include "imaging/formats/TiffReader.h"

#include "core/EFOpenError.h"
#include "imaging/PictureReaderChecks.h"
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"

#include <cstring>
#include <gtest/gtest.h>
#include <tiffio.h>

namespace {

using namespace PictureReaderChecks;
namespace fs = std::filesystem;

struct Tiff {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    std::uint16_t samples = 1;
    std::uint16_t bits = 8;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    Bytes rows = {}; // 16-bit samples in the machine's order; rows left out are not written
    std::vector<std::uint16_t> extra = {};
    std::vector<std::uint16_t> colourMap = {}; // the reds, then the greens, then the blues
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint32_t tile = 0; // the side of square tiles; 0 for strips
    bool planes = false;    // each sample in a plane of its own
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    int pages = 1;
};

std::size_t rowBytes(const Tiff& tiff) {
    return (std::size_t{tiff.width} * tiff.samples * tiff.bits + 7) / 8;
}

void writeTiles(TIFF* file, const Tiff& tiff) {
    const std::size_t pixel = tiff.samples * tiff.bits / 8;
    Bytes tile(tiff.tile * tiff.tile * pixel);
    for (std::uint32_t top = 0; top < tiff.height; top += tiff.tile) {
        for (std::uint32_t left = 0; left < tiff.width; left += tiff.tile) {
            for (std::uint32_t y = top; y < std::min(top + tiff.tile, tiff.height); ++y) {
                const std::size_t length = (std::min(left + tiff.tile, tiff.width) - left) * pixel;
                std::memcpy(&tile[(y - top) * tiff.tile * pixel],
                            &tiff.rows[y * rowBytes(tiff) + left * pixel], length);
            }
            TIFFWriteTile(file, tile.data(), left, top, 0, 0);
        }
    }
}

void writeRows(TIFF* file, const Tiff& tiff) {
    const std::size_t step = tiff.bits / 8;
    Bytes plane(tiff.width * step);
    for (std::uint16_t s = 0; s < (tiff.planes ? tiff.samples : 1); ++s) {
        for (std::uint32_t y = 0; y < tiff.rows.size() / rowBytes(tiff); ++y) {
            const std::uint8_t* row = &tiff.rows[y * rowBytes(tiff)];
            for (std::uint32_t x = 0; tiff.planes && x < tiff.width; ++x) {
                std::memcpy(&plane[x * step], row + (x * tiff.samples + s) * step, step);
            }
            TIFFWriteScanline(file, const_cast<std::uint8_t*>(tiff.planes ? plane.data() : row), y,
                              s);
        }
    }
}

void writePage(TIFF* file, const Tiff& tiff) {
    TIFFSetField(file, TIFFTAG_IMAGEWIDTH, tiff.width);
    TIFFSetField(file, TIFFTAG_IMAGELENGTH, tiff.height);
    TIFFSetField(file, TIFFTAG_SAMPLESPERPIXEL, tiff.samples);
    TIFFSetField(file, TIFFTAG_BITSPERSAMPLE, tiff.bits);
    TIFFSetField(file, TIFFTAG_PHOTOMETRIC, tiff.photometric);
    TIFFSetField(file, TIFFTAG_COMPRESSION, tiff.compression);
    TIFFSetField(file, TIFFTAG_ORIENTATION, tiff.orientation);
    TIFFSetField(file, TIFFTAG_SAMPLEFORMAT, tiff.sampleFormat);
    TIFFSetField(file, TIFFTAG_PLANARCONFIG, tiff.planes ? PLANARCONFIG_SEPARATE : 1);
    if (!tiff.extra.empty()) {
        TIFFSetField(file, TIFFTAG_EXTRASAMPLES, std::uint16_t(tiff.extra.size()),
                     tiff.extra.data());
    }
    const std::uint16_t* map = tiff.colourMap.data();
    const std::size_t count = tiff.colourMap.size() / 3;
    if (count > 0) {
        TIFFSetField(file, TIFFTAG_COLORMAP, map, map + count, map + 2 * count);
    }
    if (tiff.tile) {
        TIFFSetField(file, TIFFTAG_TILEWIDTH, tiff.tile);
        TIFFSetField(file, TIFFTAG_TILELENGTH, tiff.tile);
        writeTiles(file, tiff);
    } else {
        writeRows(file, tiff);
    }
}

fs::path write(const Tiff& tiff, const std::string& name = "picture.tif") {
    static const fs::path folder = freshTestFolder("tiff-reader");
    const fs::path path = folder / name;
    TIFF* file = TIFFOpen(path.c_str(), "w");
    for (int page = 0; page < tiff.pages; ++page) {
        writePage(file, tiff);
        TIFFWriteDirectory(file);
    }
    TIFFClose(file);
    return path;
}

struct Read {
    std::vector<std::uint32_t> pixels; // red + 256 * green + 65536 * blue, row after row
    PictureMetadata metadata;
    std::string note;
};

// The picture read from the file, which must be the same read from its bytes in memory.
Read read(const fs::path& path, std::uint32_t background = 0xFFFFFF) {
    PictureReadOptions options;
    options.background = background;
    DecodedPicture fromFile;
    DecodedPicture fromMemory;
    TiffReader::read(path.string(), options, fromFile);
    const Bytes bytes = PhotoSamples::readFile(path);
    TiffReader::read(bytes.data(), bytes.size(), options, fromMemory);
    EXPECT_EQ(pixelsOf(fromFile.pixels), pixelsOf(fromMemory.pixels));
    return {pixelsOf(fromFile.pixels), fromFile.metadata, fromFile.note};
}

// 20 x 18 RGB pixels, each of its own colour: tiles of 16 leave parts of tiles over.
Tiff colourful() {
    Tiff tiff{.width = 20, .height = 18, .samples = 3, .photometric = PHOTOMETRIC_RGB};
    for (std::size_t i = 0; i < 20 * 18 * 3; ++i) {
        tiff.rows.push_back(static_cast<std::uint8_t>(i * 41 % 253));
    }
    return tiff;
}

} // namespace

TEST(TiffReader, EveryLayoutReadAsStoredGivesItsColours) {
    struct Case {
        const char* name;
        Tiff tiff;
        std::vector<std::uint32_t> expected;
    };
    const std::vector<std::uint16_t> map = {0xFFFF, 0, 0, 0, 0, 0x8080, 0, 0, 0, 0, 0x01FF, 0};
    const std::vector<Case> cases{
        {"grey", {.width = 2, .rows = {0, 200}}, {0, 0xC8C8C8}},
        {"grey, white at zero",
         {.width = 2, .photometric = PHOTOMETRIC_MINISWHITE, .rows = {0, 200}},
         {0xFFFFFF, 0x373737}},
        // Rounded: 0x00FF and 0x01FF would be 0 and 1 with their high byte alone.
        {"grey, 16 bits",
         {.width = 3, .bits = 16, .rows = sixteenBits({0x00FF, 0x01FF, 0xFFFF})},
         {0x010101, 0x020202, 0xFFFFFF}},
        {"fax",
         {.width = 9,
          .bits = 1,
          .photometric = PHOTOMETRIC_MINISWHITE,
          .rows = {0x55, 0x80},
          .compression = COMPRESSION_CCITTFAX4},
         {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0}},
        {"palette, 2 bits",
         {.width = 3,
          .bits = 2,
          .photometric = PHOTOMETRIC_PALETTE,
          .rows = {0b00'01'10'00},
          .colourMap = map},
         {0xFF, 0x8000, 0x20000}},
        {"RGB, 16 bits, deflated",
         {.samples = 3,
          .bits = 16,
          .photometric = PHOTOMETRIC_RGB,
          .rows = sixteenBits({0x01FF, 0x8080, 0xFFFF}),
          .compression = COMPRESSION_ADOBE_DEFLATE},
         {0xFF8002}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(write(c.tiff)).pixels, c.expected) << c.name;
    }
}

TEST(TiffReader, TilesPlanesAndCompressionsGiveTheSamePixelsAsPlainStrips) {
    const std::vector<std::uint32_t> expected = read(write(colourful())).pixels;
    ASSERT_EQ(expected[21], 0x875E35u); // the second row's second: 63 * 41 % 253 = 0x35...
    Tiff tiles = colourful();
    tiles.compression = COMPRESSION_LZW;
    tiles.tile = 16;
    Tiff planes = colourful();
    planes.compression = COMPRESSION_PACKBITS;
    planes.planes = true;
    EXPECT_EQ(read(write(tiles)).pixels, expected) << "tiles";
    EXPECT_EQ(read(write(planes)).pixels, expected) << "planes, converted by libtiff";
}

TEST(TiffReader, TransparencyIsLaidOnTheBackground) {
    struct Case {
        const char* name;
        Tiff tiff;
        std::uint32_t background;
        std::uint32_t expected;
    };
    const Tiff straight{.samples = 4,
                        .photometric = PHOTOMETRIC_RGB,
                        .rows = {0, 0, 255, 128},
                        .extra = {EXTRASAMPLE_UNASSALPHA}};
    Tiff premultiplied = straight;
    premultiplied.rows = {0, 0, 128, 128};
    premultiplied.extra = {EXTRASAMPLE_ASSOCALPHA};
    Tiff inPlanes = straight;
    inPlanes.planes = true;
    Tiff mask = straight;
    mask.extra = {EXTRASAMPLE_UNSPECIFIED};
    const std::vector<Case> cases{
        {"straight on white", straight, 0xFFFFFF, 0xFF7F7F},
        {"straight on red", straight, 0x0000FF, 0x80007F},
        {"premultiplied on red", premultiplied, 0x0000FF, 0x80007F},
        {"converted by libtiff, on red", inPlanes, 0x0000FF, 0x80007F},
        {"a mask, not transparency", mask, 0, 0xFF0000},
        {"grey, 16 bits",
         {.samples = 2, .bits = 16, .rows = sixteenBits({0, 0}), .extra = {EXTRASAMPLE_UNASSALPHA}},
         0x00FF00,
         0x00FF00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(write(c.tiff), c.background).pixels[0], c.expected) << c.name;
    }
}

TEST(TiffReader, KeepsTheProfileXmpAndOrientationOfPixelsLeftAsStoredAndSaysWhatIsLeftOut) {
    for (const bool planes : {false, true}) {
        Tiff tiff = colourful();
        tiff.planes = planes;
        tiff.orientation = ORIENTATION_RIGHTTOP;
        tiff.pages = 2;
        const fs::path path = write(tiff);
        const Bytes profile = PhotoSamples::iccProfile("RGB ", 2000);
        const std::string xmp = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
        TIFF* file = TIFFOpen(path.c_str(), "r+");
        TIFFSetField(file, TIFFTAG_ICCPROFILE, std::uint32_t(profile.size()), profile.data());
        TIFFSetField(file, TIFFTAG_XMLPACKET, std::uint32_t(xmp.size()), xmp.data());
        TIFFRewriteDirectory(file);
        TIFFClose(file);
        const Read picture = read(path);
        EXPECT_EQ(picture.metadata.orientation, 6);
        EXPECT_EQ(picture.pixels[21], 0x875E35u) << "turned by libtiff, planes " << planes;
        EXPECT_EQ(picture.metadata.iccProfile, profile);
        const std::string payload = std::string("http://ns.adobe.com/xap/1.0/", 29) + xmp;
        EXPECT_EQ(picture.metadata.xmp, std::vector<Bytes>{Bytes(payload.begin(), payload.end())});
        EXPECT_EQ(picture.note, "only its first page was read");
    }
}

TEST(TiffReader, BrokenOrUnknownFilesAreRefusedWithTheReason) {
    Tiff lzw = colourful();
    lzw.compression = COMPRESSION_LZW;
    const Bytes good = PhotoSamples::readFile(write(lzw));
    Bytes garbled = good; // the strip, from the header on
    std::fill(garbled.begin() + 8, garbled.begin() + 60, 0xFF);
    const Tiff floating{.bits = 32, .rows = Bytes(4), .sampleFormat = SAMPLEFORMAT_IEEEFP};
    // One row of a picture claiming 100000 x 100000 pixels.
    const Tiff huge{.width = 100000, .height = 100000, .rows = Bytes(100000)};
    expectRefused<TiffReader>(
        "not a valid TIFF file",
        {{{}, "Cannot read TIFF header"},
         {Bytes(100, 'x'), "Not a TIFF"},
         {Bytes(good.begin(), good.begin() + 300), "Can not read TIFF directory"},
         {garbled, "Using code not yet in table"},
         {PhotoSamples::readFile(write(floating)), "Sorry, can not handle images with 32-bit"},
         {PhotoSamples::readFile(write(huge)),
          "a picture of 100000 x 100000 pixels, more than the 357 megapixels"}});
    DecodedPicture picture;
    EXPECT_THROW(TiffReader::read("/no/such/picture.tif", {}, picture), EFOpenError);
}
