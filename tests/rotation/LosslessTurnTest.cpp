// The rotation tool beside the program, run as the rotate-and-save window runs it: its pixels
// are the reference tool's, and every marker of its input comes through, settled to the turn.
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace PhotoSamples;
namespace fs = std::filesystem;

class LosslessTurn : public ::testing::Test {
protected:
    fs::path file(const std::string& name) const { return folder_ / name; }

    // A JPEG of a picture `width` x `height` with some detail, from the reference encoder.
    Bytes photo(int width, int height, const std::string& name) {
        Bytes ppm;
        const std::string header =
            "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        ppm.assign(header.begin(), header.end());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ppm.insert(ppm.end(),
                           {std::uint8_t(x * 3), std::uint8_t(y * 5), std::uint8_t((x ^ y) * 7)});
            }
        }
        writeFile(file(name + ".ppm"), ppm);
        EXPECT_EQ(runReferenceTool({"cjpeg", "-quality", "85", "-outfile",
                                    file(name + ".jpg").string(), file(name + ".ppm").string()}),
                  0);
        return readFile(file(name + ".jpg"));
    }

    int turn(const fs::path& input, const fs::path& output, bool trim = false) {
        std::vector<std::string> command{COMPANION_JPEGTRAN, "-rotate", "90"};
        if (trim) {
            command.push_back("-trim");
        }
        command.insert(command.end(), {input.string(), output.string()});
        return runReferenceTool(command);
    }

    // What the reference tool makes of the pixels alone.
    Bytes referencePixels(const fs::path& input, bool trim) {
        std::vector<std::string> command{"jpegtran", "-copy", "none", "-rotate", "90"};
        if (trim) {
            command.push_back("-trim");
        }
        command.insert(command.end(), {"-outfile", file("reference.jpg").string(), input.string()});
        EXPECT_EQ(runReferenceTool(command), 0);
        return decodedPixels(file("reference.jpg"), folder_);
    }

    fs::path folder_ = freshTestFolder("trevano-companion");
};

bool contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

bool contains(const Bytes& haystack, const std::string& needle) {
    return contains(haystack, Bytes(needle.begin(), needle.end()));
}

} // namespace

TEST_F(LosslessTurn, ATurnKeepsEveryMarkerAndSettlesTheExifBlockToTheTurnedPixels) {
    const Bytes picture = photo(203, 141, "photo");
    const Bytes thumbnail = photo(24, 16, "thumbnail");
    const Bytes profile = iccProfile("RGB ", 70000); // two chunks
    for (const bool bigEndian : {false, true}) {
        for (const bool trim : {false, true}) {
            SCOPED_TRACE(testing::Message() << "big-endian " << bigEndian << ", trim " << trim);
            std::vector<Segment> segments{
                exifSegment(exifBlock({bigEndian, 6, 203, 141, true, thumbnail})),
                xmpSegment(xmpPacket(6)), commentSegment("taken by the lake")};
            for (const Segment& chunk : iccSegments(profile)) {
                segments.push_back(chunk);
            }
            writeFile(file("camera.jpg"), withSegments(picture, segments));
            ASSERT_NE(exifTag(file("camera.jpg"), "thumbnail:JPEGInterchangeFormat"), "");
            ASSERT_EQ(turn(file("camera.jpg"), file("turned.jpg"), trim), 0);

            const Bytes turned = readFile(file("turned.jpg"));
            EXPECT_EQ(decodedPixels(file("turned.jpg"), folder_),
                      referencePixels(file("camera.jpg"), trim));
            EXPECT_EQ(iccOf(turned), profile);
            EXPECT_EQ(exifTag(file("turned.jpg"), "Orientation"), "1");
            // 141 rows make 141 columns, or the 128 of whole 16-pixel blocks when trimmed.
            EXPECT_EQ(exifTag(file("turned.jpg"), "PixelXDimension"), trim ? "128" : "141");
            EXPECT_EQ(exifTag(file("turned.jpg"), "PixelYDimension"), "203");
            EXPECT_EQ(exifTag(file("turned.jpg"), "Make"), "Trevano Test Camera");
            EXPECT_EQ(exifTag(file("turned.jpg"), "DateTimeOriginal"), "2026:05:17 10:42:07");
            EXPECT_NE(exifTag(file("turned.jpg"), "GPSLatitude"), "");
            // The thumbnail of the old way up is gone, link and bytes.
            EXPECT_EQ(exifTag(file("turned.jpg"), "thumbnail:JPEGInterchangeFormat"), "");
            EXPECT_FALSE(contains(turned, thumbnail));
            ASSERT_EQ(xmpOf(turned).size(), 1u);
            EXPECT_TRUE(contains(xmpOf(turned)[0], "tiff:Orientation=\"1\""));
            EXPECT_TRUE(contains(xmpOf(turned)[0], "photoshop:City='Lugano'"));
            EXPECT_TRUE(contains(turned, "taken by the lake"));
        }
    }
}

TEST_F(LosslessTurn, ATurnKeepsTheCodingOfTheFileItTurns) {
    photo(160, 120, "baseline");
    ASSERT_EQ(runReferenceTool({"jpegtran", "-optimize", "-progressive", "-outfile",
                                file("progressive.jpg").string(), file("baseline.jpg").string()}),
              0);
    for (const std::string name : {"baseline", "progressive"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(turn(file(name + ".jpg"), file(name + "-turned.jpg")), 0);
        std::vector<std::string> command{"jpegtran", "-copy", "none", "-rotate", "90"};
        if (name == "progressive") {
            command.push_back("-progressive");
        }
        command.insert(command.end(),
                       {"-outfile", file("reference.jpg").string(), file(name + ".jpg").string()});
        ASSERT_EQ(runReferenceTool(command), 0);
        EXPECT_EQ(readFile(file(name + "-turned.jpg")), readFile(file("reference.jpg")));
    }
}

TEST_F(LosslessTurn, AnUnsoundExifBlockAndAPictureIndexAreLeftOutAndEverythingElseKept) {
    Bytes exif = exifBlock({false, 6, 203, 141, true, {}});
    exif[6] = 0xF0; // the first directory far beyond the block
    const Bytes profile = iccProfile("RGB ", 3000);
    // A phone's index of the pictures after the first one's end: they do not come along.
    const Segment index{0xE2, {'M', 'P', 'F', 0, 'M', 'M', 0, 42, 0, 0, 0, 8}};
    std::vector<Segment> segments{exifSegment(exif), commentSegment("kept"), index};
    segments.push_back(iccSegments(profile)[0]);
    writeFile(file("unsound.jpg"), withSegments(photo(64, 48, "small"), segments));
    ASSERT_EQ(turn(file("unsound.jpg"), file("turned.jpg")), 0);
    const Bytes turned = readFile(file("turned.jpg"));
    EXPECT_TRUE(exifOf(turned).empty());
    EXPECT_EQ(iccOf(turned), profile);
    EXPECT_TRUE(contains(turned, "kept"));
    EXPECT_FALSE(contains(turned, index.data));
}

TEST_F(LosslessTurn, AnAngleItCannotTurnOrAnOutputItCannotWriteFailsWithoutOutput) {
    photo(16, 16, "good");
    EXPECT_EQ(runReferenceTool({COMPANION_JPEGTRAN, "-rotate", "45", file("good.jpg").string(),
                                file("turned.jpg").string()}),
              1);
    EXPECT_FALSE(fs::exists(file("turned.jpg")));
    EXPECT_EQ(turn(file("missing.jpg"), file("turned.jpg")), 1);
    EXPECT_FALSE(fs::exists(file("turned.jpg")));
    EXPECT_EQ(turn(file("good.jpg"), file("no-such-folder/turned.jpg")), 1);
}
