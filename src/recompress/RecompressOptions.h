#pragma once

#include "imaging/jpeg/TJPEGOptions.h"

#include <cstdint>

// What a user chooses about the new files, the same for the window and the command line.
struct RecompressOptions {
    // The photo's EXIF details and XMP go along, not only its colour profile and way up.
    bool keepDetails = false;
    // Optimised Huffman tables and progressive scans: the same pixels in fewer bytes.
    bool smallerFile = false;
    // The longest side of the new file in pixels, never enlarged; 0 keeps the picture's size.
    int longestSide = 0;
    // The depth a new file is decoded at to be shown and judged: the window's screen's,
    // 24 bits on the command line.
    TJPEGDecodeDepth shownDepth = TJPEGDecodeDepth::Depth24;
    // What transparent pixels are laid on (red + 256 * green + 65536 * blue), since a JPEG
    // file has no transparency: white, as on a page.
    std::uint32_t background = 0xFFFFFF;
    // The smallest file for the look: coefficients chosen for their cost, not rounded.
    // Takes precedence over smallerFile.
    bool smallestFile = false;
};
