#pragma once

#include "imaging/jpeg/JpegMarkers.h"

#include <cstdint>
#include <optional>
#include <stop_token>

class TBitmap;

// The length of the JPEG file that a recompression would make of `pixels` at `quality`:
// the same picture object, options and encode, written to a memory stream.
class EncodedSize {
public:
    // Nothing when `stop` is requested before the encode ends; the encode itself is cut
    // short at its next progress report. `markers` are written as the saving writes them.
    // `smallerFile` codes it with optimised tables and progressive scans, `smallestFile` with
    // coefficients chosen for the look as well.
    static std::optional<std::int64_t> at(const TBitmap& pixels, bool progressive, int quality,
                                          std::stop_token stop = {},
                                          const JpegMarkers& markers = JpegMarkers{},
                                          bool smallerFile = false, bool smallestFile = false);
};
