// What a loaded file says beside its pixels, as read here and as carried into new files; the
// EXIF block read as hostile input.
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/ExifBlock.h"
#include "imaging/metadata/IccProfile.h"
#include "imaging/metadata/MetadataReader.h"
#include "imaging/metadata/SavedMarkers.h"
#include "support/JpegTestPictures.h"
#include "support/PhotoSamples.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace PhotoSamples;

Bytes exifWithEverything(bool bigEndian) {
    return exifBlock({bigEndian, 6, 4032, 3024, true, Bytes(300, 0xD7)});
}

void put32(Bytes& tiff, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        tiff[at + std::size_t(i)] = std::uint8_t(value >> (8 * i)); // little-endian blocks
    }
}

// Every edit on a block, which must stay within its bytes whatever they say.
void editEverything(ExifBlock& block) {
    block.setOrientation(1);
    block.setPixelSize(640, 480);
    block.dropThumbnail();
    (void)block.orientation();
}

PictureMetadata readJpeg(const Bytes& jpeg) {
    return MetadataReader::fromJpeg(jpeg.data(), jpeg.size());
}

// Where things lie in nikonLikeBlock.
constexpr std::size_t SecondLinkAt = 34, SecondAt = 100, ThumbnailAt = 142, ThumbnailLength = 64;

// A little-endian block laid out as a Nikon camera writes it: the first directory at 8, the
// EXIF directory at 38 with one entry `noteTag` of 36 bytes at 56, whose own directory points
// at 8 bytes at 92, past the note's end; then the second directory and the thumbnail, `tail`
// behind it.
Bytes nikonLikeBlock(std::uint16_t noteTag, const Bytes& tail) {
    Bytes t{'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto add = [&t](int bytes, std::initializer_list<std::uint32_t> values) {
        for (const std::uint32_t value : values) {
            for (int i = 0; i < bytes; ++i) {
                t.push_back(std::uint8_t(value >> (8 * i)));
            }
        }
    };
    const auto entry = [&add](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        add(2, {tag, type});
        add(4, {type == 7 ? 36u : 1u, value});
    };
    add(2, {2}), entry(0x0112, 3, 6), entry(0x8769, 4, 38), add(4, {SecondAt});
    add(2, {1}), entry(noteTag, 7, 56), add(4, {0});
    t.insert(t.end(), {'N', 'i', 'k', 'o', 'n', 0, 2, 0x10, 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0});
    add(2, {1, 0x0E22, 3}), add(4, {4, 92 - 66, 0}); // offsets from the note's own header at 66
    add(1, {0x0C, 0, 0, 0, 0xA1, 0xB2, 0xC3, 0xD4});
    add(2, {3}), entry(0x0103, 3, 6), entry(0x0201, 4, ThumbnailAt);
    entry(0x0202, 4, ThumbnailLength), add(4, {0});
    t.insert(t.end(), ThumbnailLength, 0xD7);
    t.insert(t.end(), tail.begin(), tail.end());
    return t;
}

} // namespace

TEST(ExifBlock, ReadsTheOrientationInEitherByteOrderAndOneForNothingSound) {
    for (const bool bigEndian : {false, true}) {
        EXPECT_EQ(ExifBlock(exifWithEverything(bigEndian)).orientation(), 6);
        EXPECT_EQ(ExifBlock(exifBlock({.bigEndian = bigEndian, .orientation = 8})).orientation(),
                  8);
        EXPECT_EQ(ExifBlock(exifBlock({.bigEndian = bigEndian})).orientation(), 1);
        EXPECT_EQ(ExifBlock(exifBlock({.bigEndian = bigEndian, .orientation = 9})).orientation(),
                  1);
    }
    const Bytes alone = ExifBlock::orientationAlone(3);
    EXPECT_EQ(ExifBlock(alone).orientation(), 3);
    EXPECT_TRUE(ExifBlock(alone).readable());
}

TEST(ExifBlock, HostileBlocksAreRefusedOrKeptWithinTheirBytes) {
    struct Case {
        const char* name;
        Bytes tiff;
        bool readable;
        int orientation;
    };
    const Bytes good = exifWithEverything(false);
    const auto broken = [&good](std::size_t at, std::uint32_t value) {
        Bytes tiff = good;
        put32(tiff, at, value);
        return tiff;
    };
    // The first directory's entries: make (at 10), orientation (22), EXIF link (34), GPS (46).
    Bytes hugeCount = good;
    hugeCount[8] = 0xFF;
    hugeCount[9] = 0xFF;
    Bytes longOrientation = good;
    longOrientation[24] = 4;
    const std::vector<Case> cases{
        {"empty", {}, false, 1},
        {"header cut short", {'I', 'I', 42}, false, 1},
        {"unknown byte order", {'I', 'M', 42, 0, 8, 0, 0, 0}, false, 1},
        {"not 42", {'I', 'I', 43, 0, 8, 0, 0, 0}, false, 1},
        {"first directory beyond the end", broken(4, 0xFFFFFFF0), false, 1},
        {"first directory inside the header", broken(4, 2), false, 1},
        {"entry count past the end", hugeCount, false, 1},
        {"EXIF directory beyond the end", broken(34 + 8, 0x7FFFFFFF), false, 6},
        {"EXIF directory is the first one", broken(34 + 8, 8), false, 6},
        {"GPS directory beyond the end", broken(46 + 8, 0xFFFFFFFF), true, 6},
        {"orientation of another type", longOrientation, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExifBlock block(c.tiff);
        EXPECT_EQ(block.readable(), c.readable);
        EXPECT_EQ(block.orientation(), c.orientation);
        editEverything(block);
        EXPECT_LE(block.tiff().size(), c.tiff.size());
    }
    // Cut at every length, in both byte orders: never a read beyond the bytes given.
    for (const bool bigEndian : {false, true}) {
        const Bytes whole = exifWithEverything(bigEndian);
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            ExifBlock block(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length)));
            editEverything(block);
        }
    }
}

TEST(ExifBlock, ADroppedThumbnailAtTheEndTakesItsBytesWithIt) {
    for (const bool bigEndian : {false, true}) {
        const Bytes thumbnail(300, 0xD7);
        ExifBlock block(exifBlock({bigEndian, 6, 4032, 3024, true, thumbnail}));
        const Bytes before = block.tiff();
        block.dropThumbnail();
        const Bytes& after = block.tiff();
        EXPECT_LT(after.size() + thumbnail.size(), before.size());
        EXPECT_EQ(std::search(after.begin(), after.end(), thumbnail.begin(), thumbnail.end()),
                  after.end());
        // Whatever stays is as it was, but for the link to the thumbnail's directory.
        EXPECT_TRUE(ExifBlock(after).readable());
        EXPECT_EQ(ExifBlock(after).orientation(), 6);
        EXPECT_EQ(exifBlock({bigEndian, 6, 4032, 3024, true}).size(), after.size());
    }
}

TEST(ExifBlock, AThumbnailWithOtherDataAfterItIsBlankedInPlace) {
    const Bytes thumbnail(300, 0xD7);
    Bytes tiff = exifBlock({false, 6, 4032, 3024, true, thumbnail});
    // The camera make moves behind the thumbnail: the block cannot simply be cut short.
    const std::string make = "Moved Camera";
    put32(tiff, 10 + 4, std::uint32_t(make.size() + 1));
    put32(tiff, 10 + 8, std::uint32_t(tiff.size()));
    tiff.insert(tiff.end(), make.begin(), make.end());
    tiff.push_back(0);
    ExifBlock block(tiff);
    block.dropThumbnail();
    const Bytes& after = block.tiff();
    ASSERT_EQ(after.size(), tiff.size());
    EXPECT_EQ(std::search(after.begin(), after.end(), thumbnail.begin(), thumbnail.end()),
              after.end());
    EXPECT_TRUE(
        std::equal(make.begin(), make.end(), after.end() - std::ptrdiff_t(make.size()) - 1));
    EXPECT_EQ(ExifBlock(after).orientation(), 6);
}

TEST(ExifBlock, BytesAfterTheThumbnailThatAMakerNotePointsToKeepTheirPlaces) {
    // A maker note reaches values of its own through offsets no directory here declares:
    // some cameras put them after the thumbnail, at the end of the block.
    const Bytes thumbnail(300, 0xD7);
    Bytes tiff = exifBlock({false, 6, 4032, 3024, true, thumbnail});
    const std::size_t valuesAt = tiff.size() + 1; // after a padding byte
    const Bytes values{'N', 'E', 'F', 0x00, 0x0C, 0x00, 0x01, 0x02, 0x03, 0x04};
    tiff.push_back(0);
    tiff.insert(tiff.end(), values.begin(), values.end());
    ExifBlock block(tiff);
    block.dropThumbnail();
    const Bytes& after = block.tiff();
    ASSERT_EQ(after.size(), tiff.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(after[valuesAt + i], values[i]) << "value byte " << i;
    }
    EXPECT_EQ(std::search(after.begin(), after.end(), thumbnail.begin(), thumbnail.end()),
              after.end());
    EXPECT_EQ(ExifBlock(after).orientation(), 6);
}

TEST(ExifBlock, BytesBeforeTheThumbnailStayWhereAMakerNoteOrAnUnknownDirectoryMayPoint) {
    struct Case {
        const char* name;
        std::uint16_t noteTag;
        Bytes tail;
        std::size_t size;
    };
    const std::vector<Case> cases{
        {"maker note, thumbnail last", 0x927C, {}, ThumbnailAt},
        {"maker note, values after the thumbnail", 0x927C, {'N', 'E', 'F', 0}, ThumbnailAt + 68},
        {"a user comment: the second directory goes too", 0x9286, {}, SecondAt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes tiff = nikonLikeBlock(c.noteTag, c.tail);
        ExifBlock block(tiff);
        block.dropThumbnail();
        const Bytes& after = block.tiff();
        ASSERT_EQ(after.size(), c.size);
        for (std::size_t i = 0; i < std::min(c.size, ThumbnailAt); ++i) {
            const bool link = i >= SecondLinkAt && i < SecondLinkAt + 4;
            EXPECT_EQ(after[i], link ? 0 : tiff[i]) << "byte " << i;
        }
        EXPECT_EQ(std::count(after.begin(), after.end(), 0xD7), 0);
        EXPECT_TRUE(std::equal(c.tail.rbegin(), c.tail.rend(), after.rbegin()));
    }
}

TEST(MetadataReader, JoinsTheProfilesChunksInTheirOrderAndKeepsTheFirstExifAndEveryXmp) {
    const Bytes picture = encodePicture(makeTestPicture(40, 30), 80);
    const Bytes profile = iccProfile("RGB ", 150000);
    std::vector<Segment> chunks = iccSegments(profile);
    ASSERT_EQ(chunks.size(), 3u);
    std::vector<Segment> segments{chunks[2],
                                  exifSegment(exifBlock({.orientation = 8})),
                                  chunks[0],
                                  exifSegment(exifBlock({.orientation = 3})),
                                  xmpSegment(xmpPacket(8)),
                                  chunks[1]};
    const PictureMetadata metadata = readJpeg(withSegments(picture, segments));
    EXPECT_EQ(metadata.iccProfile, profile);
    EXPECT_EQ(metadata.orientation, 8);
    EXPECT_EQ(metadata.exif, exifBlock({.orientation = 8}));
    ASSERT_EQ(metadata.xmp.size(), 1u);
    EXPECT_EQ(metadata.xmp[0], xmpSegment(xmpPacket(8)).data);

    // A chunk missing: no profile at all rather than part of one.
    segments = {chunks[0], chunks[2]};
    EXPECT_TRUE(readJpeg(withSegments(picture, segments)).iccProfile.empty());
    const PictureMetadata nothing = readJpeg(picture);
    EXPECT_TRUE(nothing.iccProfile.empty() && nothing.exif.empty() && nothing.xmp.empty());
    EXPECT_EQ(nothing.orientation, 1);
    EXPECT_TRUE(readJpeg(Bytes(100, 0xFF)).exif.empty()); // not a JPEG file: nothing, no error
}

TEST(MetadataReader, ABitmapsProfileIsTakenOnlyFromWithinTheFile) {
    Bytes bmp(14 + 124 + 200, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(bmp, 14, 124);
    put32(bmp, 14 + 56, 0x4D424544);
    put32(bmp, 14 + 112, 124);
    put32(bmp, 14 + 116, 200);
    std::fill(bmp.begin() + 14 + 124, bmp.end(), 0x5A);
    const auto profileOf = [](const Bytes& bytes) {
        TMemoryStream stream;
        stream.writeBuffer(bytes.data(), bytes.size());
        return MetadataReader::fromBmp(stream).iccProfile;
    };
    EXPECT_EQ(profileOf(bmp), Bytes(200, 0x5A));
    Bytes beyond = bmp;
    put32(beyond, 14 + 116, 201);
    EXPECT_TRUE(profileOf(beyond).empty());
    Bytes linked = bmp;
    put32(linked, 14 + 56, 0x4C494E4B); // "LINK": a file name, not a profile
    EXPECT_TRUE(profileOf(linked).empty());
    EXPECT_TRUE(profileOf(Bytes(bmp.begin(), bmp.begin() + 100)).empty());
}

TEST(SavedMarkers, WhatGoesIntoTheNewFileAndTheBytesItAdds) {
    PictureMetadata source;
    source.iccProfile = iccProfile("RGB ", 140000);
    source.exif = exifWithEverything(false);
    source.orientation = 6;
    source.xmp = {xmpSegment(xmpPacket(6)).data};

    const JpegMarkers plain = SavedMarkers::choose(source, {false, false, 40, 30});
    ASSERT_EQ(plain.segments.size(), 1u);
    EXPECT_EQ(plain.segments[0].data, exifSegment(ExifBlock::orientationAlone(6)).data);
    EXPECT_EQ(plain.iccProfile, source.iccProfile);
    EXPECT_TRUE(SavedMarkers::choose(source, {false, true, 40, 30}).iccProfile.empty());

    const JpegMarkers details = SavedMarkers::choose(source, {true, false, 40, 30});
    ASSERT_EQ(details.segments.size(), 2u);
    EXPECT_EQ(ExifBlock({details.segments[0].data.begin() + 6, details.segments[0].data.end()})
                  .orientation(),
              6);
    EXPECT_EQ(details.segments[1].data, source.xmp[0]);

    // An unsound block gives its orientation alone, even with the details asked for.
    put32(source.exif, 4, 0xFFFFFF00);
    const JpegMarkers unsound = SavedMarkers::choose(source, {true, false, 40, 30});
    EXPECT_EQ(unsound.segments[0].data, exifSegment(ExifBlock::orientationAlone(6)).data);

    // The length counted is the length the encode adds, three profile chunks included.
    TJPEGImage jpeg;
    const RgbPicture picture = makeTestPicture(40, 30);
    takePicture(jpeg, picture);
    jpeg.Encode();
    TMemoryStream without;
    jpeg.WriteToStream(without);
    jpeg.setMarkers(details);
    jpeg.Encode();
    TMemoryStream with;
    jpeg.WriteToStream(with);
    EXPECT_EQ(with.size() - without.size(), details.length());
    const Bytes written(with.memory(), with.memory() + with.size());
    EXPECT_EQ(iccOf(written), source.iccProfile);
    EXPECT_EQ(xmpOf(written).size(), 1u);
    // The photo's own EXIF block opens the file, as the camera wrote it, with no JFIF header
    // before it to move what maker notes find by offsets from the file's start.
    EXPECT_EQ(written[3], 0xE1);
    EXPECT_EQ(std::string(written.begin() + 6, written.begin() + 10), "Exif");
}

TEST(IccProfile, OnlyASoundProfileOfTheNewFilesColoursIsCarried) {
    EXPECT_TRUE(IccProfile::suits(iccProfile("RGB ", 600), false));
    EXPECT_FALSE(IccProfile::suits(iccProfile("RGB ", 600), true));
    EXPECT_TRUE(IccProfile::suits(iccProfile("GRAY", 600), true));
    EXPECT_FALSE(IccProfile::suits(iccProfile("CMYK", 600), false));
    Bytes longer = iccProfile("RGB ", 600);
    longer[2] = 0x10; // says more bytes than it has
    EXPECT_FALSE(IccProfile::suits(longer, false));
    Bytes link = iccProfile("RGB ", 600);
    std::copy_n("link", 4, link.begin() + 12);
    EXPECT_FALSE(IccProfile::suits(link, false));
    Bytes unsigned_ = iccProfile("RGB ", 600);
    unsigned_[36] = 'x';
    EXPECT_FALSE(IccProfile::suits(unsigned_, false));
    EXPECT_FALSE(IccProfile::suits(iccProfile("RGB ", 131), false));
    // As many chunks as a file can number, and not one more.
    EXPECT_TRUE(IccProfile::suits(iccProfile("RGB ", 255 * 65519), false));
    EXPECT_FALSE(IccProfile::suits(iccProfile("RGB ", 255 * 65519 + 1), false));
}
