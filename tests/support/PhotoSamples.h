#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Camera-like JPEG files made here, byte by byte: EXIF blocks, colour profiles and XMP packets
// put together by hand and spliced into JPEG files that the reference encoder made, and an
// independent reading of the segments of a file to check what another file holds.
namespace PhotoSamples {

using Bytes = std::vector<std::uint8_t>;

struct Exif {
    bool bigEndian = false;
    int orientation = 0;          // 0: no orientation tag
    std::uint32_t pixelWidth = 0; // 0: no pixel sizes in the EXIF directory
    std::uint32_t pixelHeight = 0;
    bool gps = false;
    Bytes thumbnail = {}; // empty: no second directory
};

// The TIFF bytes of an EXIF block: a camera make and a date taken, then what `exif` asks for.
Bytes exifBlock(const Exif& exif);
// A colour profile of `length` bytes with a sound header for `colourSpace` ("RGB ", "GRAY",
// "CMYK"), the rest a pattern that tells its bytes apart.
Bytes iccProfile(const char* colourSpace, std::size_t length);
// An XMP packet saying an orientation and a place.
Bytes xmpPacket(int orientation);

struct Segment {
    int code = 0; // 0xE1 for APP1...
    Bytes data;
};
Segment exifSegment(const Bytes& tiff);
Segment xmpSegment(const Bytes& packet);
Segment commentSegment(const std::string& text);
// The profile cut in chunks of at most `chunk` bytes, as APP2 segments.
std::vector<Segment> iccSegments(const Bytes& profile, std::size_t chunk = 65519);

// `jpeg` with `segments` after its JFIF segment (or its start).
Bytes withSegments(const Bytes& jpeg, const std::vector<Segment>& segments);
// The segments before the first scan, read by this helper alone.
std::vector<Segment> segmentsOf(const Bytes& jpeg);
// The EXIF block's TIFF bytes, the joined profile, the XMP packets of a file; empty when absent.
Bytes exifOf(const Bytes& jpeg);
Bytes iccOf(const Bytes& jpeg);
std::vector<Bytes> xmpOf(const Bytes& jpeg);

// The value of a tag as the reference tool (ImageMagick) reads it, e.g. "Orientation",
// "PixelXDimension", "GPSLatitude", "thumbnail:JPEGInterchangeFormat"; empty when absent.
std::string exifTag(const std::filesystem::path& jpeg, const std::string& tag);
// The pixels the reference decoder makes of a file.
Bytes decodedPixels(const std::filesystem::path& jpeg, const std::filesystem::path& work);

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

} // namespace PhotoSamples
