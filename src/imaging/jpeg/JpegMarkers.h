#pragma once

#include <cstdint>
#include <vector>

// The markers an encode writes beside the picture's own header, after it and in this order:
// the segments, then the colour profile in as many APP2 chunks as it needs.
struct JpegMarkers {
    struct Segment {
        int code = 0; // JPEG_APP0 + n
        std::vector<std::uint8_t> data;
    };

    std::vector<Segment> segments;
    std::vector<std::uint8_t> iccProfile;

    bool empty() const { return segments.empty() && iccProfile.empty(); }
    // The bytes they add to the file, marker codes and lengths included.
    std::int64_t length() const;
};
