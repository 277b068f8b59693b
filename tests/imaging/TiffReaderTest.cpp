// TIFF files written with libtiff itself, read back by path and from memory: the layouts read
// as stored, the ones left to libtiff's conversion, transparency, metadata and broken files.
#include "imaging/formats/TiffReader.h"

#include "core/EAbort.h"
#include "core/EFOpenError.h"
#include "imaging/formats/EPictureFile.h"
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <tiffio.h>

namespace {

using PhotoSamples::Bytes;
namespace fs = std::filesystem;

struct Tiff {
    std::uint32_t width;
    std::uint32_t height;
    std::uint16_t samples;
    std::uint16_t bits;
    std::uint16_t photometric;
    Bytes rows; // 16-bit samples in the machine's order
    std::vector<std::uint16_t> extra = {};
    std::vector<std::uint16_t> colourMap = {}; // the reds, then the greens, then the blues
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint32_t tile = 0; // the side of square tiles; 0 for strips
    bool planes = false;    // each sample in a plane of its own
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
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
        for (std::uint32_t y = 0; y < tiff.height; ++y) {
            const std::uint8_t* row = &tiff.rows[y * rowBytes(tiff)];
            for (std::uint32_t x = 0; tiff.planes && x < tiff.width; ++x) {
                std::memcpy(&plane[x * step], row + (x * tiff.samples + s) * step, step);
            }
            TIFFWriteScanline(file, const_cast<std::uint8_t*>(tiff.planes ? plane.data() : row), y,
                              s);
        }
    }
}

fs::path write(const Tiff& tiff, const std::string& name = "picture.tif") {
    static const fs::path folder = freshTestFolder("tiff-reader");
    const fs::path path = folder / name;
    TIFF* file = TIFFOpen(path.c_str(), "w");
    TIFFSetField(file, TIFFTAG_IMAGEWIDTH, tiff.width);
    TIFFSetField(file, TIFFTAG_IMAGELENGTH, tiff.height);
    TIFFSetField(file, TIFFTAG_SAMPLESPERPIXEL, tiff.samples);
    TIFFSetField(file, TIFFTAG_BITSPERSAMPLE, tiff.bits);
    TIFFSetField(file, TIFFTAG_PHOTOMETRIC, tiff.photometric);
    TIFFSetField(file, TIFFTAG_COMPRESSION, tiff.compression);
    TIFFSetField(file, TIFFTAG_ORIENTATION, tiff.orientation);
    TIFFSetField(file, TIFFTAG_SAMPLEFORMAT, tiff.sampleFormat);
    TIFFSetField(file, TIFFTAG_PLANARCONFIG,
                 tiff.planes ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    if (!tiff.extra.empty()) {
        TIFFSetField(file, TIFFTAG_EXTRASAMPLES, std::uint16_t(tiff.extra.size()),
                     tiff.extra.data());
    }
    if (!tiff.colourMap.empty()) {
        const std::uint16_t* map = tiff.colourMap.data();
        const std::size_t count = tiff.colourMap.size() / 3;
        TIFFSetField(file, TIFFTAG_COLORMAP, map, map + count, map + 2 * count);
    }
    if (tiff.tile) {
        TIFFSetField(file, TIFFTAG_TILEWIDTH, tiff.tile);
        TIFFSetField(file, TIFFTAG_TILELENGTH, tiff.tile);
        writeTiles(file, tiff);
    } else {
        writeRows(file, tiff);
    }
    TIFFClose(file);
    return path;
}

std::vector<std::uint32_t> pixelsOf(const TBitmap& bitmap) {
    std::vector<std::uint32_t> all;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            all.push_back(bitmap.pixel(x, y));
        }
    }
    return all;
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

Bytes sixteenBits(std::initializer_list<std::uint16_t> samples) {
    Bytes bytes(samples.size() * 2);
    std::memcpy(bytes.data(), std::data(samples), bytes.size());
    return bytes;
}

// 20 x 18 RGB pixels, each of its own colour: tiles of 16 leave parts of tiles over.
Bytes colourfulRows() {
    Bytes rows(20 * 18 * 3);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint8_t>(i * 41 % 253);
    }
    return rows;
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
        {"grey", {2, 1, 1, 8, PHOTOMETRIC_MINISBLACK, {0, 200}}, {0, 0xC8C8C8}},
        {"grey, white at zero",
         {2, 1, 1, 8, PHOTOMETRIC_MINISWHITE, {0, 200}},
         {0xFFFFFF, 0x373737}},
        // Rounded: 0x00FF and 0x01FF would be 0 and 1 with their high byte alone.
        {"grey, 16 bits",
         {3, 1, 1, 16, PHOTOMETRIC_MINISBLACK, sixteenBits({0x00FF, 0x01FF, 0xFFFF})},
         {0x010101, 0x020202, 0xFFFFFF}},
        {"fax",
         {9, 1, 1, 1, PHOTOMETRIC_MINISWHITE, {0x55, 0x80}, {}, {}, COMPRESSION_CCITTFAX4},
         {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0}},
        {"palette, 2 bits",
         {3, 1, 1, 2, PHOTOMETRIC_PALETTE, {0b00'01'10'00}, {}, map},
         {0xFF, 0x8000, 0x20000}},
        {"RGB, 16 bits, deflated",
         {1,
          1,
          3,
          16,
          PHOTOMETRIC_RGB,
          sixteenBits({0x01FF, 0x8080, 0xFFFF}),
          {},
          {},
          COMPRESSION_ADOBE_DEFLATE},
         {0xFF8002}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(write(c.tiff)).pixels, c.expected) << c.name;
    }
}

TEST(TiffReader, TilesPlanesAndCompressionsGiveTheSamePixelsAsPlainStrips) {
    const Tiff plain{20, 18, 3, 8, PHOTOMETRIC_RGB, colourfulRows()};
    const std::vector<std::uint32_t> expected = read(write(plain)).pixels;
    ASSERT_EQ(expected[21], 0x875E35u); // the second row's second: 63 * 41 % 253 = 0x35...
    for (const Tiff& other : {
             Tiff{20, 18, 3, 8, PHOTOMETRIC_RGB, colourfulRows(), {}, {}, COMPRESSION_LZW, 16},
             Tiff{20,
                  18,
                  3,
                  8,
                  PHOTOMETRIC_RGB,
                  colourfulRows(),
                  {},
                  {},
                  COMPRESSION_PACKBITS,
                  0,
                  true},
         }) {
        EXPECT_EQ(read(write(other)).pixels, expected)
            << "compression " << other.compression << ", tile " << other.tile << ", planes "
            << other.planes;
    }
}

TEST(TiffReader, TransparencyIsLaidOnTheBackground) {
    struct Case {
        const char* name;
        Tiff tiff;
        std::uint32_t background;
        std::uint32_t expected;
    };
    const Bytes half{0, 0, 255, 128};
    const Tiff straight{1, 1, 4, 8, PHOTOMETRIC_RGB, half, {EXTRASAMPLE_UNASSALPHA}};
    const Tiff premultiplied{
        1, 1, 4, 8, PHOTOMETRIC_RGB, {0, 0, 128, 128}, {EXTRASAMPLE_ASSOCALPHA}};
    Tiff inPlanes = straight;
    inPlanes.planes = true;
    const std::vector<Case> cases{
        {"straight on white", straight, 0xFFFFFF, 0xFF7F7F},
        {"straight on red", straight, 0x0000FF, 0x80007F},
        {"premultiplied on red", premultiplied, 0x0000FF, 0x80007F},
        {"converted by libtiff, on red", inPlanes, 0x0000FF, 0x80007F},
        {"a mask, not transparency",
         {1, 1, 4, 8, PHOTOMETRIC_RGB, half, {EXTRASAMPLE_UNSPECIFIED}},
         0,
         0xFF0000},
        {"grey, 16 bits",
         {1, 1, 2, 16, PHOTOMETRIC_MINISBLACK, sixteenBits({0, 0}), {EXTRASAMPLE_UNASSALPHA}},
         0x00FF00,
         0x00FF00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(read(write(c.tiff), c.background).pixels[0], c.expected) << c.name;
    }
}

TEST(TiffReader, KeepsTheProfileAndXmpAndSaysTheOrientationOfPixelsLeftAsStored) {
    for (const bool planes : {false, true}) {
        Tiff tiff{20, 18, 3, 8, PHOTOMETRIC_RGB, colourfulRows()};
        tiff.planes = planes;
        tiff.orientation = ORIENTATION_RIGHTTOP;
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
        EXPECT_TRUE(picture.note.empty());
    }
}

TEST(TiffReader, BrokenOrUnknownFilesAreRefusedWithTheReason) {
    const Bytes good = PhotoSamples::readFile(
        write({20, 18, 3, 8, PHOTOMETRIC_RGB, colourfulRows(), {}, {}, COMPRESSION_LZW}));
    Bytes garbled = good; // the strip, from the header on
    std::fill(garbled.begin() + 8, garbled.begin() + 60, 0xFF);
    // A header claiming 100000 x 100000 pixels, of which one row is written.
    Tiff huge{100000, 100000, 1, 8, PHOTOMETRIC_MINISBLACK, Bytes(100000)};
    huge.height = 1;
    const fs::path hugePath = write(huge, "huge.tif");
    TIFF* file = TIFFOpen(hugePath.c_str(), "r+");
    TIFFSetField(file, TIFFTAG_IMAGELENGTH, 100000);
    TIFFRewriteDirectory(file);
    TIFFClose(file);
    const struct {
        const char* name;
        Bytes file;
        std::string reason;
    } cases[] = {
        {"empty", {}, "Cannot read TIFF header"},
        {"not a TIFF file", Bytes(100, 'x'), "Not a TIFF"},
        {"cut short", Bytes(good.begin(), good.begin() + 300), "Can not read TIFF directory"},
        {"pixels garbled", garbled, "Using code not yet in table"},
        {"floating-point samples",
         PhotoSamples::readFile(write({1,
                                       1,
                                       1,
                                       32,
                                       PHOTOMETRIC_MINISBLACK,
                                       Bytes(4),
                                       {},
                                       {},
                                       COMPRESSION_NONE,
                                       0,
                                       false,
                                       1,
                                       SAMPLEFORMAT_IEEEFP})),
         "can not handle"},
        {"a huge picture", PhotoSamples::readFile(hugePath),
         "100000 x 100000 pixels, more than the 357 megapixels"},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        try {
            DecodedPicture picture;
            TiffReader::read(c.file.data(), c.file.size(), {}, picture);
            ADD_FAILURE() << c.name << " was read";
        } catch (const EPictureFile& error) {
            EXPECT_EQ(error.message(), "not a valid TIFF file") << c.name;
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.reason();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
    DecodedPicture picture;
    EXPECT_THROW(TiffReader::read("/no/such/picture.tif", {}, picture), EFOpenError);
}

TEST(TiffReader, ReadsTheFirstPageSayingSoAndStopsWhenAsked) {
    const fs::path path = write({1, 1, 1, 8, PHOTOMETRIC_MINISBLACK, {10}}, "pages.tif");
    TIFF* file = TIFFOpen(path.c_str(), "a");
    TIFFSetField(file, TIFFTAG_IMAGEWIDTH, 1);
    TIFFSetField(file, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(file, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(file, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    std::uint8_t second = 20;
    TIFFWriteScanline(file, &second, 0, 0);
    TIFFClose(file);
    const Read picture = read(path);
    EXPECT_EQ(picture.pixels, std::vector<std::uint32_t>{0x0A0A0A});
    EXPECT_EQ(picture.note, "only its first page was read");
    std::stop_source stop;
    stop.request_stop();
    PictureReadOptions options;
    options.stop = stop.get_token();
    DecodedPicture stopped;
    EXPECT_THROW(TiffReader::read(path.string(), options, stopped), EAbort);
}
