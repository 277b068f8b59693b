#include "imaging/jpeg/JpegMarkers.h"

#include <cstdio>
#include <jpeglib.h>

namespace {

// What the library's profile writer puts in each chunk: the marker, its length, then
// "ICC_PROFILE\0", the chunk's number and the number of chunks.
constexpr std::int64_t MarkerOverhead = 4;
constexpr std::int64_t ChunkOverhead = MarkerOverhead + 14;
constexpr std::int64_t ChunkData = 65533 - 14;
// The JFIF header the library writes: marker, length, "JFIF\0", version, density, thumbnail.
constexpr std::int64_t JfifHeader = 18;

} // namespace

std::int64_t JpegMarkers::length() const {
    std::int64_t total = 0;
    for (const Segment& segment : segments) {
        total += MarkerOverhead + static_cast<std::int64_t>(segment.data.size());
    }
    const auto profile = static_cast<std::int64_t>(iccProfile.size());
    const std::int64_t chunks = (profile + ChunkData - 1) / ChunkData;
    return total + profile + chunks * ChunkOverhead - (jfifHeader ? 0 : JfifHeader);
}

void JpegMarkers::writeTo(jpeg_compress_struct& cinfo) const {
    for (const Segment& segment : segments) {
        jpeg_write_marker(&cinfo, segment.code, segment.data.data(),
                          static_cast<unsigned int>(segment.data.size()));
    }
    if (!iccProfile.empty()) {
        jpeg_write_icc_profile(&cinfo, iccProfile.data(),
                               static_cast<unsigned int>(iccProfile.size()));
    }
}
