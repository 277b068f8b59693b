#pragma once

#include <cstdint>
#include <vector>

struct jpeg_compress_struct;

// The markers an encode writes beside the picture's own header, after it and in this order:
// the segments, then the colour profile in as many APP2 chunks as it needs.
struct JpegMarkers {
    struct Segment {
        int code = 0; // JPEG_APP0 + n
        std::vector<std::uint8_t> data;
    };

    std::vector<Segment> segments;
    std::vector<std::uint8_t> iccProfile;
    // The encoder's own JFIF header first. Not when a photo's own EXIF block is kept: it then
    // opens the file as the camera wrote it, and maker notes that count offsets from the
    // file's start (Canon's) still find their data.
    bool jfifHeader = true;

    bool empty() const { return segments.empty() && iccProfile.empty() && jfifHeader; }
    // Writes them into a file being coded, just after the library's own header.
    void writeTo(jpeg_compress_struct& cinfo) const;
    // The bytes they add to the file, marker codes and lengths included; the JFIF header left
    // out counts as bytes taken away.
    std::int64_t length() const;
};
